#pragma once
// The application's identity strings and the names derived from the display name.
// They are fixed for the whole run; the display name also names the instance mutex and
// the windows that other copies look for, so it must never change between versions.
#include <string>
#include <string_view>

namespace Quenta::Application {

struct ApplicationIdentity {
    static constexpr std::u16string_view makerName = u"Ostrel";
    static constexpr std::u16string_view displayName = u"タヴィゾー";
    static constexpr std::u16string_view productName = u"Tavizo";
    static constexpr std::u16string_view version = u"1.00";

    // Title of the main object's window; a second copy counts these to refuse itself.
    static std::u16string mainWindowTitle();
    // Title of every other view object's window; counted against the 255 limit.
    static std::u16string objectWindowTitle();
    // Name of the mutex that serialises the start-up checks of several copies.
    static std::u16string mutexName();
};

}  // namespace Quenta::Application
