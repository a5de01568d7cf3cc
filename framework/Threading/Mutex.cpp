#include "framework/Threading/Mutex.h"

#include "framework/Platform/NamedMutex.h"

namespace Arbor::Threading {

Mutex::Mutex() = default;

Mutex::~Mutex() { release(); }

int Mutex::create(std::u16string_view name) {
    release();
    handle_ = Platform::createNamedMutex();
    if (!handle_) return InvalidHandle;
    const int result = handle_->create(name);
    if (result == InvalidHandle) handle_.reset();
    return result;
}

bool Mutex::lock() { return handle_ && handle_->lock(); }

void Mutex::release() {
    if (handle_) {
        handle_->release();
        handle_.reset();
    }
}

}  // namespace Arbor::Threading
