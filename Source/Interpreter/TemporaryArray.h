#pragma once
// Storage for the temporaries of one value kind. Elements live in fixed-size chunks
// that are allocated the first time a line needs them and kept afterwards, so:
// - an element never moves while it is handed out;
// - a steady-state frame allocates nothing (a reset only rewinds the count);
// - a parser that never uses many temporaries costs a chunk or two, not the full
//   limit.
#include <cstddef>
#include <memory>
#include <vector>

namespace Quenta::Interpreter {

template <typename T>
class TemporaryArray {
public:
    static constexpr std::size_t kChunkSize = 256;
    // Chunks kept across resets; a line that needed more gives the rest back, so one
    // unusual line does not pin its peak for the parser's lifetime.
    static constexpr std::size_t kKeptChunks = 16;

    TemporaryArray() = default;
    TemporaryArray(const TemporaryArray&) = delete;
    TemporaryArray& operator=(const TemporaryArray&) = delete;

    // The next free element (a recycled object: callers set its payload).
    T* append() {
        if (size_ == capacity_) {
            chunks_.push_back(std::make_unique<T[]>(kChunkSize));
            for (std::size_t i = 0; i < kChunkSize; ++i) {
                chunks_.back()[i].setReadOnly(true);
            }
            capacity_ += kChunkSize;
        }
        T* element = &chunks_[size_ / kChunkSize][size_ % kChunkSize];
        ++size_;
        return element;
    }

    std::size_t size() const { return size_; }
    std::size_t chunkCount() const { return chunks_.size(); }

    // Forgets the elements from `floor` on (the ones below stay valid: they belong to
    // a statement that is still running). `recycle` sees each forgotten element that
    // stays allocated (to drop payloads that would otherwise keep a lot of memory).
    template <typename F>
    void resetTo(std::size_t floor, F&& recycle) {
        if (size_ <= floor) {
            return;
        }
        trim(floor);
        const std::size_t end = size_ < capacity_ ? size_ : capacity_;
        for (std::size_t i = floor; i < end; ++i) {
            recycle(chunks_[i / kChunkSize][i % kChunkSize]);
        }
        size_ = floor;
    }
    void resetTo(std::size_t floor) {
        resetTo(floor, [](T&) {});
    }

private:
    void trim(std::size_t floor) {
        const std::size_t needed = (floor + kChunkSize - 1) / kChunkSize;
        const std::size_t keep = needed > kKeptChunks ? needed : kKeptChunks;
        if (chunks_.size() > keep) {
            chunks_.resize(keep);
            capacity_ = keep * kChunkSize;
        }
    }

    std::vector<std::unique_ptr<T[]>> chunks_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace Quenta::Interpreter
