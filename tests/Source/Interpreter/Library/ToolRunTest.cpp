// The value store across processes: tavizo-tool run as a character, twice.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/TestPaths.h"
#include "tools/ToolRunner.h"

namespace {

// Runs a script with tavizo-tool; the output comes back with "\n" line ends.
ToolTesting::ToolResult runScript(const std::filesystem::path& dir, const std::string& script,
                                  std::initializer_list<std::string> options) {
    const auto scriptFile = dir / "script.txt";
    std::ofstream(scriptFile, std::ios::binary) << script;
    std::vector<std::string> args{"run", scriptFile.string()};
    args.insert(args.end(), options.begin(), options.end());
    return ToolTesting::runTool(args, dir);
}

}  // namespace

TEST(ToolRun, ValueStoreSurvivesANewProcess) {
    Testing::TempDir dir;
    const std::string base = (dir.path() / "base").string();
    auto run = runScript(dir.path(),
                         "SaveValue(\"k\", 1.5)\nSaveValue(\"neg\", -2)\nSaveValue(\"t\", \"a,\\\"b\\\"\\\\c\")\n"
                         "SaveValue(\"on\", true)\nFlushValues()\n",
                         {"--character", "Mia", "--base", base});
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "base" / "Params" / "Mia.param"));
    run = runScript(dir.path(),
                    "number $k = LoadValue(\"k\")\nnumber $neg = LoadValue(\"neg\")\n"
                    "string $t = LoadValue(\"t\")\nbool $on = LoadValue(\"on\")\nbool $e = ExistsValue(\"k\")\n",
                    {"--character", "Mia", "--base", base});
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.out, "$e\tbool\ttrue\n$k\tnumber\t1.5\n$neg\tnumber\t-2\n$on\tbool\ttrue\n$t\tstring\ta,\"b\"\\c\n");
}

TEST(ToolRun, ClearThenFlushKeepsTheFileAcrossProcesses) {
    Testing::TempDir dir;
    const std::string base = (dir.path() / "base").string();
    auto run = runScript(dir.path(), "SaveValue(\"k\", 3)\nFlushValues()\n", {"--character", "Mia", "--base", base});
    ASSERT_EQ(run.exitCode, 0) << run.out;
    run = runScript(dir.path(), "ClearValues()\nFlushValues()\n", {"--character", "Mia", "--base", base});
    ASSERT_EQ(run.exitCode, 0) << run.out;
    run = runScript(dir.path(), "number $k = LoadValue(\"k\")\n", {"--character", "Mia", "--base", base});
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.out, "$k\tnumber\t3\n");
}

TEST(ToolRun, WithoutACharacterThereIsNoStore) {
    Testing::TempDir dir;
    auto run = runScript(dir.path(), "SaveValue(\"k\", 3)\nnumber $k = LoadValue(\"k\")\n", {});
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.out, "$k\tnumber\t0\n");
    EXPECT_NE(runScript(dir.path(), "Print(1)\n", {"--character", "../up"}).exitCode, 0);
    EXPECT_NE(runScript(dir.path(), "Print(1)\n", {"--base", "somewhere"}).exitCode, 0);
}

TEST(ToolRun, ACharactersFoldersFollowTheBase) {
    Testing::TempDir dir;
    const std::filesystem::path base = dir.path() / "base";
    std::filesystem::create_directories(base / "Data" / "Mia");
    std::ofstream(base / "Data" / "Mia" / "keys.txt", std::ios::binary) << "@copy [CTRL [C ]C ]CTRL\n";
    const auto run = runScript(dir.path(),
                               "string $p = GetProcessDirectory()\nstring $o = GetObjectDirectory()\n"
                               "bool $m = LoadMacrosFromFile(\"keys.txt\")\n",
                               {"--character", "Mia", "--base", base.string()});
    ASSERT_EQ(run.exitCode, 0) << run.out;
    // System text: "\" separators on every host.
    std::string expected = base.string();
    std::replace(expected.begin(), expected.end(), '/', '\\');
    EXPECT_EQ(run.out, "$m\tbool\ttrue\n$o\tstring\t" + expected + "\\Data\\Mia\n$p\tstring\t" + expected + "\n");
}
