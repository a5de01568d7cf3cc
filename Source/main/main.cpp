// The host's entry: chooses the backend, finds the program directory and runs the
// application. On Windows the wide entry receives the command line as UTF-16.
#include <cstdio>
#include <string>
#include <vector>

#include "Source/Application/Application.h"
#include "Source/Application/ApplicationDirectories.h"
#include "Source/Application/ApplicationIdentity.h"
#include "Source/Application/ApplicationMessageBox.h"
#include "Source/Application/CommandLine.h"
#include "framework/Platform/Backend.h"
#include "framework/Platform/BackendDriver.h"
#include "framework/Platform/Console.h"
#include "framework/Platform/Folders.h"
#include "framework/Platform/NativePath.h"
#include "framework/Text/Utf.h"

namespace {

bool hasDesktopBackend() {
    for (const Arbor::Platform::BackendDriver* driver : Arbor::Platform::backendDrivers()) {
        if (!driver->offscreen) return true;
    }
    return false;
}

int runHost(const std::u16string& programPath, const std::vector<std::u16string>& args) {
    using namespace Quenta::Application;
    const CommandLine commandLine = CommandLine::parse(args);
    // What the command line answers, and a headless run's lines, reach the console.
    if (!commandLine.error.empty() || commandLine.help || commandLine.version || commandLine.headless) {
        Arbor::Platform::useParentConsole();
    }
    if (!commandLine.error.empty()) {
        std::fprintf(stderr, "tavizo: %s\n", commandLine.error.c_str());
        return 2;
    }
    if (commandLine.help) {
        std::fputs(CommandLine::helpText().c_str(), stdout);
        return 0;
    }
    if (commandLine.version) {
        const std::string line = Arbor::Text::toUtf8(ApplicationIdentity::displayName) + " " +
                                 Arbor::Text::toUtf8(ApplicationIdentity::version) + "\n";
        std::fputs(line.c_str(), stdout);
        return 0;
    }
    // The backend is chosen here, once: the first one that can run, or the offscreen
    // desktop when asked for.
    const Arbor::Platform::BackendDriver& backend = Arbor::Platform::chooseBackend(commandLine.headless);
    // A build with a desktop backend falls back to the offscreen desktop only when
    // asked: without a display the program would run unseen.
    if (backend.offscreen && !commandLine.headless && hasDesktopBackend()) {
        std::fputs("tavizo: no display could be opened (is DISPLAY set?); "
                   "run with --headless to run without a display\n",
                   stderr);
        return 1;
    }
    if (!commandLine.messageLog.empty()) {
        ApplicationMessageBox::setLogFile(Arbor::Platform::toNativePath(commandLine.messageLog));
    }
    ApplicationDirectories directories(
        ApplicationDirectories::programDirectoryOf(Arbor::Platform::toNativePath(programPath)),
        Arbor::Platform::toNativePath(Arbor::Platform::folderService().applicationDataFolder()));
    Application application(commandLine, std::move(directories));
    return application.run();
}

}  // namespace

#if defined(_WIN32)
int wmain(int argc, wchar_t** argv) {
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
    return runHost(argc > 0 ? std::u16string(reinterpret_cast<const char16_t*>(argv[0])) : std::u16string(), args);
}
#else
int main(int argc, char** argv) {
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Arbor::Text::fromUtf8(argv[i]));
    return runHost(argc > 0 ? Arbor::Text::fromUtf8(argv[0]) : std::u16string(), args);
}
#endif
