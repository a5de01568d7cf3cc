#include <gtest/gtest.h>

#include <fstream>

#include "Source/Application/ApplicationDirectories.h"
#include "support/TestPaths.h"

using Quenta::Application::ApplicationDirectories;
namespace fs = std::filesystem;

TEST(ApplicationDirectories, WritableProgramDirectoryIsTheBase) {
    Testing::TempDir program;
    ApplicationDirectories dirs(program.path(), "/home/u/.local/share");
    EXPECT_EQ(dirs.writableBase(), program.path());
    // The probe leaves nothing behind.
    EXPECT_TRUE(fs::is_empty(program.path()));
}

TEST(ApplicationDirectories, ReadOnlyProgramDirectoryFallsBackToThePerUserFolder) {
    Testing::TempDir program;
    Testing::TempDir appData;
    // Tests may run with rights that ignore file modes, so "read-only" is injected.
    std::vector<fs::path> asked;
    ApplicationDirectories dirs(program.path(), appData.path(), [&](const fs::path& p) {
        asked.push_back(p);
        return false;
    });
    EXPECT_EQ(dirs.writableBase(), appData.path() / "Ostrel" / "Tavizo");
    EXPECT_EQ(dirs.perUserDirectory(), appData.path() / "Ostrel" / "Tavizo");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], program.path());
    // Tested again on every use.
    dirs.writableBase();
    EXPECT_EQ(asked.size(), 2u);
}

TEST(ApplicationDirectories, InstalledProgramDirectoryIsNeverTheBase) {
    // The install step marks the directory; writable or not, the user's folder is used.
    Testing::TempDir program;
    Testing::TempDir appData;
    std::ofstream(program.path() / "INSTALLED") << "installed\n";
    ApplicationDirectories dirs(program.path(), appData.path());
    EXPECT_TRUE(ApplicationDirectories::isWritableDirectory(program.path()));
    EXPECT_FALSE(ApplicationDirectories::takesWrites(program.path()));
    EXPECT_EQ(dirs.writableBase(), appData.path() / "Ostrel" / "Tavizo");
    // A directory of that name is not the marker's file; neither is a missing folder.
    Testing::TempDir other;
    fs::create_directory(other.path() / "Data");
    EXPECT_TRUE(ApplicationDirectories::takesWrites(other.path()));
    EXPECT_FALSE(ApplicationDirectories::takesWrites(other.path() / "absent"));
}

TEST(ApplicationDirectories, MissingProgramDirectoryIsNotWritable) {
    Testing::TempDir program;
    EXPECT_FALSE(ApplicationDirectories::isWritableDirectory(program.path() / "absent"));
    EXPECT_TRUE(ApplicationDirectories::isWritableDirectory(program.path()));
}

TEST(ApplicationDirectories, FixedSubfolders) {
    ApplicationDirectories dirs(fs::path("base"), fs::path("ad"));
    EXPECT_EQ(dirs.dataDirectory(), fs::path("base") / "Data");
    EXPECT_EQ(dirs.speechRecognitionDirectory(), fs::path("base") / "SpeechRecognition");
}

TEST(ApplicationDirectories, ProgramDirectoryIsTheExecutablesFolder) {
    // The system knows where this test executable is; argv[0] only stands in when it
    // does not.
    const fs::path dir = ApplicationDirectories::programDirectoryOf("ignored");
    EXPECT_TRUE(dir.is_absolute());
    EXPECT_TRUE(fs::exists(dir));
    EXPECT_EQ(fs::weakly_canonical(dir), fs::weakly_canonical(fs::path(TAVIZO_TEST_EXECUTABLE_DIR)));
}
