#include "Source/Application/ApplicationMessageBox.h"

#include <fstream>
#include <mutex>
#include <string>

#include "framework/Platform/MessageBox.h"
#include "framework/Text/Utf.h"

namespace Quenta::Application {

namespace {
std::mutex& logLock() {
    static std::mutex m;
    return m;
}
std::filesystem::path& logFile() {
    static std::filesystem::path file;
    return file;
}
}  // namespace

void ApplicationMessageBox::setLogFile(const std::filesystem::path& file) {
    std::lock_guard guard(logLock());
    logFile() = file;
}

int ApplicationMessageBox::show(std::u16string_view text, std::u16string_view caption, std::uint32_t type) {
    {
        std::lock_guard guard(logLock());
        if (!logFile().empty()) {
            // One write per line, flushed before the box appears: the box may never be
            // answered, and the line must already be there.
            const std::string line = Arbor::Text::toUtf8(caption) + ": " + Arbor::Text::toUtf8(text) + "\n";
            std::ofstream out(logFile(), std::ios::binary | std::ios::app);
            out.write(line.data(), static_cast<std::streamsize>(line.size()));
            out.flush();
        }
    }
    return Arbor::Platform::messageBoxService().show(Arbor::Platform::WindowHandle::None, text, caption, type);
}

}  // namespace Quenta::Application
