#pragma once
// System text meets wchar_t (16 bits on Windows) at the system call.
#include <windows.h>

#include <string>
#include <string_view>

#include "framework/Platform/Types.h"

namespace Arbor::Platform::Win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide text is UTF-16");

inline std::wstring wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

inline std::u16string narrowed(const wchar_t* text, std::size_t length) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

inline std::u16string narrowed(const std::wstring& text) { return narrowed(text.data(), text.size()); }

inline HWND hwndOf(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}

inline WindowHandle handleOf(HWND window) {
    return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
}

}  // namespace Arbor::Platform::Win32
