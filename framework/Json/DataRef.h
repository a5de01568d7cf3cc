#pragma once
// An owning handle to a reference-counted JSON payload (ArrayData, ObjectData,
// StringData). Counts are plain integers: a document belongs to one thread at a time.
#include <cstddef>
#include <utility>

namespace Arbor::Json::Private {

template <class T>
class DataRef {
public:
    DataRef() = default;
    // Shares an existing payload (the count goes up).
    explicit DataRef(T* p) : p_(p) {
        if (p_) p_->retain();
    }
    DataRef(const DataRef& o) : p_(o.p_) {
        if (p_) p_->retain();
    }
    DataRef(DataRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    template <class U>
    DataRef(const DataRef<U>& o) : DataRef(o.get()) {}
    ~DataRef() {
        if (p_) p_->release();
    }
    DataRef& operator=(DataRef o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

// A new payload, owned by the returned handle.
template <class T, class... Args>
DataRef<T> makeData(Args&&... args) {
    return DataRef<T>(new T(std::forward<Args>(args)...));
}

}  // namespace Arbor::Json::Private
