// Start-up registration on a Linux desktop: an XDG autostart entry named after the
// program, written whole (a temporary file renamed over the old entry).
#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "framework/Platform/NativePath.h"
#include "framework/Platform/Posix/DesktopEntry.h"
#include "framework/Platform/Posix/PosixDesktop.h"
#include "framework/Platform/Posix/XdgPaths.h"
#include "framework/Platform/Startup.h"

namespace Arbor::Platform {

namespace {

// One Exec argument: quoted, with ", `, $ and \ escaped inside the quotes and % doubled,
// then the backslashes escaped once more for the string value.
std::string execArgument(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';
    std::string value;
    for (char c : quoted) {
        if (c == '\\') value += '\\';
        value += c;
    }
    return value;
}

// A string value without line breaks (they would start a new key).
std::string plainValue(const std::string& text) {
    std::string value;
    for (char c : text) {
        if (c == '\\') value += "\\\\";
        else if (c == '\n') value += "\\n";
        else if (c == '\r') value += "\\r";
        else value += c;
    }
    return value;
}

class PosixStartupService : public StartupService {
public:
    bool registerProgram(std::u16string_view programPath, std::u16string_view workingDirectory) override {
        if (programPath.empty()) return false;
        const std::filesystem::path program = toNativePath(programPath);
        const std::filesystem::path file = Posix::autostartEntryFile(program);
        if (file.empty()) return false;
        std::error_code ec;
        std::filesystem::create_directories(file.parent_path(), ec);
        if (ec) return false;
        std::string text = "[Desktop Entry]\nType=Application\n";
        text += "Name=" + plainValue(program.stem().string()) + "\n";
        text += "Exec=" + execArgument(program.string()) + "\n";
        if (!workingDirectory.empty()) text += "Path=" + plainValue(toNativePath(workingDirectory).string()) + "\n";
        text += "Terminal=false\nX-GNOME-Autostart-enabled=true\n";
        // A fresh temporary file of our own (never through a link someone left there),
        // renamed over the entry: the entry is written whole or not at all.
        const std::filesystem::path temporary = file.string() + ".tmp" + std::to_string(getpid());
        std::filesystem::remove(temporary, ec);
        const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0) return false;
        std::size_t written = 0;
        while (written < text.size()) {
            const ssize_t n = write(fd, text.data() + written, text.size() - written);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            written += static_cast<std::size_t>(n);
        }
        const bool complete = written == text.size() && fsync(fd) == 0;
        if (close(fd) != 0 || !complete) {
            std::filesystem::remove(temporary, ec);
            return false;
        }
        std::filesystem::rename(temporary, file, ec);
        if (!ec) return true;
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }

    bool unregisterProgram(std::u16string_view programPath) override {
        const std::filesystem::path file = Posix::autostartEntryFile(toNativePath(programPath));
        if (file.empty()) return false;
        std::error_code ec;
        std::filesystem::remove(file, ec);  // a link is removed as a link
        return !ec;
    }

    bool isProgramRegistered(std::u16string_view programPath) override {
        const std::filesystem::path file = Posix::autostartEntryFile(toNativePath(programPath));
        std::error_code ec;
        return !file.empty() && std::filesystem::exists(std::filesystem::symlink_status(file, ec));
    }

    std::u16string registeredTarget(std::u16string_view programPath) override {
        const std::filesystem::path file = Posix::autostartEntryFile(toNativePath(programPath));
        const auto entry = file.empty() ? std::nullopt : Posix::readDesktopEntry(file);
        if (!entry) return {};
        const std::string program = Posix::execProgram(entry->value("Exec"));
        return program.empty() ? std::u16string() : fromNativePath(program);
    }
};

}  // namespace

std::filesystem::path Posix::autostartEntryFile(const std::filesystem::path& programPath) {
    const std::string name = programPath.stem().string();
    const std::filesystem::path config = xdgConfigHome();
    if (name.empty() || name == "." || name == ".." || config.empty()) return {};
    return config / "autostart" / (name + ".desktop");
}

std::unique_ptr<StartupService> Posix::makeStartupService() { return std::make_unique<PosixStartupService>(); }

}  // namespace Arbor::Platform
#endif
