#pragma once
// Every message box the application shows goes through here. Besides showing the box,
// it can append each one as a line "caption: text" (UTF-8) to a log file, so that a
// test that starts the program as a separate process can read what it said.
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace Quenta::Application {

class ApplicationMessageBox {
public:
    // Shows a box without owner; the answer of the system (IDOK ...).
    static int show(std::u16string_view text, std::u16string_view caption, std::uint32_t type);

    // Where to log boxes from now on; an empty path logs nothing.
    static void setLogFile(const std::filesystem::path& file);
};

}  // namespace Quenta::Application
