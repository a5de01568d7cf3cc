// A kernel mutex by name. The handle remembers how often it acquired the mutex so that
// release gives all of it back before closing.
#include <windows.h>

#include "framework/Platform/NamedMutex.h"
#include "framework/Platform/Win32/Win32Text.h"
#include "framework/Platform/Win32/Win32Services.h"

namespace Arbor::Platform {

using namespace Win32;

namespace {

class Win32NamedMutex : public NamedMutex {
public:
    ~Win32NamedMutex() override { release(); }

    int create(std::u16string_view name) override {
        release();
        const std::wstring text = wide(name);
        handle_ = CreateMutexW(nullptr, TRUE, text.empty() ? nullptr : text.c_str());
        if (!handle_) return 2;
        if (GetLastError() == ERROR_ALREADY_EXISTS) return 1;  // opened, not owned
        held_ = 1;
        return 0;
    }

    bool lock() override {
        if (!handle_) return false;
        const DWORD result = WaitForSingleObject(handle_, INFINITE);
        // An abandoned mutex is owned all the same.
        if (result != WAIT_OBJECT_0 && result != WAIT_ABANDONED) return false;
        ++held_;
        return true;
    }

    void release() override {
        if (!handle_) return;
        for (; held_ > 0; --held_) ReleaseMutex(handle_);
        CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    HANDLE handle_ = nullptr;
    int held_ = 0;
};

}  // namespace

std::unique_ptr<NamedMutex> Win32::makeNamedMutex() { return std::make_unique<Win32NamedMutex>(); }

}  // namespace Arbor::Platform
