// The Linux desktop's conventions behind the desktop services, each pointed at a
// temporary home through the XDG variables: the trash emptied without leaving it,
// the autostart entry, and the default handler of a link scheme.
#include <gtest/gtest.h>

#include "framework/Platform/Shell.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <string>

#include "framework/Platform/NativePath.h"
#include "framework/Platform/Posix/DesktopEntry.h"
#include "framework/Platform/Posix/PosixDesktop.h"
#include "framework/Platform/RecycleBin.h"
#include "framework/Platform/Shell.h"
#include "framework/Platform/Startup.h"
#include "support/TestPaths.h"

using namespace Arbor::Platform;
namespace fs = std::filesystem;

namespace {

// Sets environment variables for one test and puts the old values back.
class Environment {
public:
    ~Environment() {
        for (const auto& [name, value] : saved_) {
            if (value) setenv(name.c_str(), value->c_str(), 1);
            else unsetenv(name.c_str());
        }
    }
    void set(const std::string& name, const std::string& value) {
        remember(name);
        setenv(name.c_str(), value.c_str(), 1);
    }
    void unset(const std::string& name) {
        remember(name);
        unsetenv(name.c_str());
    }

private:
    void remember(const std::string& name) {
        if (saved_.contains(name)) return;
        const char* old = std::getenv(name.c_str());
        saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    std::map<std::string, std::optional<std::string>> saved_;
};

void write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string text, line;
    while (std::getline(in, line)) text += line + "\n";
    return text;
}

}  // namespace

TEST(LinuxDesktop, TrashIsEmptiedWithoutFollowingLinksOut) {
    Testing::TempDir temp;
    Environment environment;
    environment.set("XDG_DATA_HOME", (temp.path() / "data").string());
    const fs::path trash = temp.path() / "data" / "Trash";
    const fs::path outside = temp.path() / "precious";
    write(outside / "keep.txt", "keep\n");
    write(trash / "files" / "a.txt", "a");
    write(trash / "files" / "folder" / "deep" / "b.txt", "b");
    fs::create_directory_symlink(outside, trash / "files" / "link-to-folder");
    fs::create_symlink(outside / "keep.txt", trash / "files" / "link-to-file");
    fs::create_directory_symlink(outside, trash / "files" / "folder" / "inner-link");
    write(trash / "info" / "a.txt.trashinfo", "[Trash Info]\n");
    write(trash / "directorysizes", "1 2 folder\n");

    auto service = Posix::makeRecycleBinService();
    EXPECT_TRUE(service->empty());
    EXPECT_TRUE(fs::is_empty(trash / "files"));
    EXPECT_TRUE(fs::is_empty(trash / "info"));
    EXPECT_FALSE(fs::exists(trash / "directorysizes"));
    EXPECT_EQ(read(outside / "keep.txt"), "keep\n");
    // An empty or missing trash is nothing to do.
    EXPECT_TRUE(service->empty());
    fs::remove_all(trash);
    EXPECT_TRUE(service->empty());
}

TEST(LinuxDesktop, ATrashThatIsALinkIsLeftAlone) {
    Testing::TempDir temp;
    Environment environment;
    environment.set("XDG_DATA_HOME", (temp.path() / "data").string());
    const fs::path elsewhere = temp.path() / "elsewhere";
    write(elsewhere / "files" / "keep.txt", "keep\n");
    fs::create_directories(temp.path() / "data");
    fs::create_directory_symlink(elsewhere, temp.path() / "data" / "Trash");
    EXPECT_FALSE(Posix::makeRecycleBinService()->empty());
    EXPECT_EQ(read(elsewhere / "files" / "keep.txt"), "keep\n");
    // files/ itself swapped for a link: not followed either.
    fs::remove(temp.path() / "data" / "Trash");
    fs::create_directories(temp.path() / "data" / "Trash");
    fs::create_directory_symlink(elsewhere / "files", temp.path() / "data" / "Trash" / "files");
    EXPECT_FALSE(Posix::makeRecycleBinService()->empty());
    EXPECT_EQ(read(elsewhere / "files" / "keep.txt"), "keep\n");
}

TEST(LinuxDesktop, AutostartEntryIsWrittenWholeUnderTheConfigHome) {
    Testing::TempDir temp;
    Environment environment;
    environment.set("XDG_CONFIG_HOME", (temp.path() / "config").string());
    auto service = Posix::makeStartupService();
    const std::u16string program = u"\\opt\\my \"apps\"\\$tavizo";
    EXPECT_FALSE(service->isProgramRegistered(program));
    ASSERT_TRUE(service->registerProgram(program, u"\\opt\\my \"apps\""));
    const fs::path file = temp.path() / "config" / "autostart" / "$tavizo.desktop";
    ASSERT_TRUE(fs::is_regular_file(file));
    EXPECT_EQ(read(file),
              "[Desktop Entry]\nType=Application\nName=$tavizo\n"
              "Exec=\"/opt/my \\\\\"apps\\\\\"/\\\\$tavizo\"\nPath=/opt/my \"apps\"\n"
              "Terminal=false\nX-GNOME-Autostart-enabled=true\n");
    // The Exec line names the program again when read the desktop's way.
    const auto entry = Posix::readDesktopEntry(file);
    ASSERT_TRUE(entry);
    EXPECT_EQ(Posix::execProgram(entry->value("Exec")), "/opt/my \"apps\"/$tavizo");
    // Nothing but the entry is left in the folder, and writing again replaces it.
    ASSERT_TRUE(service->registerProgram(program, u""));
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()), 1);
    EXPECT_TRUE(service->isProgramRegistered(program));
    EXPECT_TRUE(service->unregisterProgram(program));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(service->isProgramRegistered(program));

    // A link in the entry's place is replaced, never written through.
    write(temp.path() / "dotfiles" / "tavizo.desktop", "mine\n");
    fs::create_symlink(temp.path() / "dotfiles" / "tavizo.desktop", file.parent_path() / "tavizo.desktop");
    ASSERT_TRUE(service->registerProgram(u"\\usr\\bin\\tavizo", u""));
    EXPECT_FALSE(fs::is_symlink(file.parent_path() / "tavizo.desktop"));
    EXPECT_EQ(read(temp.path() / "dotfiles" / "tavizo.desktop"), "mine\n");
}

TEST(LinuxDesktop, AutostartWithoutConfigHomeUsesTheHomeFolder) {
    Testing::TempDir temp;
    Environment environment;
    environment.unset("XDG_CONFIG_HOME");
    environment.set("HOME", temp.path().string());
    ASSERT_TRUE(Posix::makeStartupService()->registerProgram(u"\\usr\\bin\\tavizo", u"\\usr\\bin"));
    EXPECT_TRUE(fs::is_regular_file(temp.path() / ".config" / "autostart" / "tavizo.desktop"));
    // A relative XDG_CONFIG_HOME is not a config home.
    environment.set("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(Posix::autostartEntryFile("/usr/bin/tavizo"), temp.path() / ".config" / "autostart" / "tavizo.desktop");
}

TEST(LinuxDesktop, DefaultHandlerIsTheExecutableOfTheDesktopsChoice) {
    if (Posix::findExecutable("xdg-mime").empty()) GTEST_SKIP() << "xdg-mime is not installed";
    Testing::TempDir temp;
    Environment environment;
    const fs::path bin = temp.path() / "bin";
    environment.set("XDG_CONFIG_HOME", (temp.path() / "config").string());
    environment.set("XDG_DATA_HOME", (temp.path() / "data").string());
    environment.set("XDG_DATA_DIRS", (temp.path() / "system").string());
    environment.unset("XDG_CURRENT_DESKTOP");
    environment.unset("DESKTOP_SESSION");
    environment.set("PATH", bin.string() + ":/usr/bin:/bin");
    write(bin / "fakebrowser", "#!/bin/sh\n");
    fs::permissions(bin / "fakebrowser", fs::perms::owner_all);
    write(temp.path() / "config" / "mimeapps.list",
          "[Default Applications]\nx-scheme-handler/http=vendor-fakebrowser.desktop\n");
    // "vendor-fakebrowser.desktop" may live in a vendor/ sub-folder.
    write(temp.path() / "system" / "applications" / "vendor" / "fakebrowser.desktop",
          "[Desktop Entry]\nType=Application\nName=Fake Browser\nExec=fakebrowser %u\n");

    auto shell = Posix::makeShellService();
    EXPECT_EQ(shell->defaultHandlerExecutable(u"http"), fromNativePath(bin / "fakebrowser"));
    EXPECT_EQ(shell->defaultHandlerExecutable(u"mailto"), u"");
    EXPECT_EQ(shell->defaultHandlerExecutable(u"x y"), u"");
    EXPECT_EQ(Posix::nameOfEntryStarting(bin / "fakebrowser"), "Fake Browser");
    EXPECT_EQ(Posix::nameOfEntryStarting(bin / "other"), "");
}

TEST(LinuxDesktop, DesktopEntriesReadTheirOwnGroupAndQuoting) {
    Testing::TempDir temp;
    write(temp.path() / "a.desktop",
          "# comment\n[Other]\nName=No\n[Desktop Entry]\nName = Yes\\sSir\nName=Later\nExec=\"/a b/c\\\\\"d\" --x\n");
    const auto entry = Posix::readDesktopEntry(temp.path() / "a.desktop");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->value("Name"), "Yes Sir");
    EXPECT_EQ(Posix::execProgram(entry->value("Exec")), "/a b/c\"d");
    EXPECT_EQ(Posix::execProgram("  plain %u"), "plain");
    write(temp.path() / "b.desktop", "Name=x\n");
    EXPECT_FALSE(Posix::readDesktopEntry(temp.path() / "b.desktop"));
}

#endif

TEST(DesktopShell, RegisteredOpenCommandsNameAnExecutableOnlyInQuotes) {
    EXPECT_EQ(Arbor::Platform::executableOfOpenCommand(u"\"C:\\B\\b.EXE\" -osint -url \"%1\""), u"C:\\B\\b.EXE");
    EXPECT_EQ(Arbor::Platform::executableOfOpenCommand(u"C:\\B\\b.exe %1"), u"");
    EXPECT_EQ(Arbor::Platform::executableOfOpenCommand(u"\"C:\\B\\b.exe"), u"");
    EXPECT_EQ(Arbor::Platform::executableOfOpenCommand(u"\"rundll32.dll\" x"), u"");
}
