// The Linux desktop's shell: documents and URLs open with xdg-open; a program opened
// with parameters runs with them, as the Windows shell runs it. The handler of a link
// scheme is what `xdg-mime query default x-scheme-handler/<scheme>` names: the program
// of that desktop entry's Exec line, found on $PATH.
#if !defined(_WIN32)
#include <unistd.h>

#include <system_error>

#include "framework/Platform/NativePath.h"
#include "framework/Platform/Posix/DesktopEntry.h"
#include "framework/Platform/Posix/PosixCommandLine.h"
#include "framework/Platform/Posix/PosixDesktop.h"
#include "framework/Platform/Posix/PosixSpawn.h"
#include "framework/Platform/Shell.h"
#include "framework/Text/Utf.h"

namespace Arbor::Platform {

namespace {

bool isProgram(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) && access(path.c_str(), X_OK) == 0;
}

class PosixShellService : public ShellService {
public:
    bool open(std::u16string_view target, std::u16string_view parameters) override {
        if (target.empty()) return false;
        const bool isLink = target.find(u"://") != std::u16string_view::npos || target.starts_with(u"mailto:");
        const std::string native = isLink ? Text::toUtf8(target) : toNativePath(target).string();
        if (!isLink && isProgram(native)) {
            std::vector<std::string> arguments{native};
            for (std::string& argument : Posix::splitCommandLine(Text::toUtf8(parameters))) {
                arguments.push_back(std::move(argument));
            }
            return Posix::spawnDetached(arguments);
        }
        return Posix::spawnDetached({"xdg-open", native});
    }

    std::u16string defaultHandlerExecutable(std::u16string_view scheme) override {
        if (scheme.empty() || scheme.find_first_of(u"/ \n") != std::u16string_view::npos) return {};
        const auto answer = Posix::runAndRead({"xdg-mime", "query", "default", "x-scheme-handler/" + Text::toUtf8(scheme)});
        if (!answer) return {};
        // The first line is the desktop-file id.
        std::string id = answer->substr(0, answer->find('\n'));
        while (!id.empty() && (id.back() == ' ' || id.back() == '\r')) id.pop_back();
        const auto file = Posix::findDesktopFile(id);
        if (file.empty()) return {};
        const auto entry = Posix::readDesktopEntry(file);
        if (!entry) return {};
        const auto program = Posix::findExecutable(Posix::execProgram(entry->value("Exec")));
        return program.empty() ? std::u16string() : fromNativePath(program);
    }
};

}  // namespace

std::unique_ptr<ShellService> Posix::makeShellService() { return std::make_unique<PosixShellService>(); }

}  // namespace Arbor::Platform
#endif
