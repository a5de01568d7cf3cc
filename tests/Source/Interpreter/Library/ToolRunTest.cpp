// The value store across processes: tavizo-tool run as a character, twice.
#include <gtest/gtest.h>

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
