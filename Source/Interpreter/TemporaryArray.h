#pragma once
// Storage for the temporaries of one value kind. Elements live in fixed-size chunks
// that are allocated the first time a line needs them and kept afterwards, so:
// - an element never moves while it is handed out;
// - a steady-state frame allocates nothing (reset only rewinds the count);
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

    // Chunks kept across resets; a line that needed more gives the rest back, so one
    // unusual line does not pin its peak for the parser's lifetime.
    static constexpr std::size_t kKeptChunks = 16;

    // Forgets every element. `recycle` sees each element that was in use and stays
    // (to drop payloads that would otherwise keep a lot of memory).
    template <typename F>
    void reset(F&& recycle) {
        trim();
        const std::size_t kept = size_ < capacity_ ? size_ : capacity_;
        for (std::size_t i = 0; i < kept; ++i) {
            recycle(chunks_[i / kChunkSize][i % kChunkSize]);
        }
        size_ = 0;
    }
    void reset() {
        trim();
        size_ = 0;
    }

private:
    void trim() {
        if (chunks_.size() > kKeptChunks) {
            chunks_.resize(kKeptChunks);
            capacity_ = kKeptChunks * kChunkSize;
        }
    }

    std::vector<std::unique_ptr<T[]>> chunks_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace Quenta::Interpreter
