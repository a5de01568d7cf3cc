#pragma once
// Modal message boxes. The headless backend records each box (see
// Headless/HeadlessDesktop.h), writes it to standard error as one UTF-8 line
// "caption: text", and answers with the reply tests chose (IDOK unless told). The X11
// backend draws the box itself as a dialog window (MessageBoxLayout.h), and writes it to
// standard error as the headless backend does when the display is gone.
#include <cstdint>
#include <memory>
#include <string_view>

#include "framework/Platform/Types.h"

namespace Arbor::Platform {

// Buttons, icons and answers, as the system numbers them (stand aside for its macros).
#ifndef MB_OK
inline constexpr std::uint32_t MB_OK = 0x00000000;
#endif
#ifndef MB_OKCANCEL
inline constexpr std::uint32_t MB_OKCANCEL = 0x00000001;
#endif
#ifndef MB_YESNO
inline constexpr std::uint32_t MB_YESNO = 0x00000004;
#endif
#ifndef MB_ICONERROR
inline constexpr std::uint32_t MB_ICONERROR = 0x00000010;
#endif
#ifndef MB_ICONHAND
inline constexpr std::uint32_t MB_ICONHAND = 0x00000010;
#endif
#ifndef MB_ICONQUESTION
inline constexpr std::uint32_t MB_ICONQUESTION = 0x00000020;
#endif
#ifndef MB_ICONWARNING
inline constexpr std::uint32_t MB_ICONWARNING = 0x00000030;
#endif
#ifndef MB_ICONINFORMATION
inline constexpr std::uint32_t MB_ICONINFORMATION = 0x00000040;
#endif
#ifndef MB_TOPMOST
inline constexpr std::uint32_t MB_TOPMOST = 0x00040000;
#endif
#ifndef IDOK
inline constexpr int IDOK = 1;
#endif
#ifndef IDCANCEL
inline constexpr int IDCANCEL = 2;
#endif
#ifndef IDYES
inline constexpr int IDYES = 6;
#endif
#ifndef IDNO
inline constexpr int IDNO = 7;
#endif

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Shows the box and waits until it is answered; the answer (IDOK ...), 0 on failure.
    virtual int show(WindowHandle owner, std::u16string_view text, std::u16string_view caption,
                     std::uint32_t type) = 0;
};

MessageBoxService& messageBoxService();

}  // namespace Arbor::Platform
