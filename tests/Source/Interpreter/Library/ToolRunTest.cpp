// The value store across processes: tavizo-tool run as a character, twice.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/TestPaths.h"

namespace {

// Tests run in the build's bin folder, beside the tool.
#ifdef _WIN32
const std::filesystem::path kTool = std::filesystem::current_path() / "tavizo-tool.exe";
#else
const std::filesystem::path kTool = std::filesystem::current_path() / "tavizo-tool";
#endif

// The tool's output with line ends as "\n" (a Windows console writes "\r\n").
std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string result;
    for (char c : text.str()) {
        if (c != '\r') {
            result.push_back(c);
        }
    }
    return result;
}

// Runs the tool on a script and returns its exit code, with its output in `output`.
int runTool(const std::filesystem::path& dir, const std::string& script, const std::string& options,
            std::string& output) {
    const auto scriptFile = dir / "script.txt";
    std::ofstream(scriptFile, std::ios::binary) << script;
    const auto outFile = dir / "out.txt";
    std::string command = "\"" + kTool.string() + "\" run \"" + scriptFile.string() + "\" " + options + " > \"" +
                          outFile.string() + "\" 2>&1";
#ifdef _WIN32
    // cmd.exe drops the first and the last quote of the line: give it a pair to drop.
    command = "\"" + command + "\"";
#endif
    const int status = std::system(command.c_str());
    output = readAll(outFile);
    return status;
}

}  // namespace

TEST(ToolRun, ValueStoreSurvivesANewProcess) {
    ASSERT_TRUE(std::filesystem::exists(kTool)) << "build tavizo-tool first";
    Testing::TempDir dir;
    const std::string base = "--character Mia --base \"" + (dir.path() / "base").string() + "\"";
    std::string output;
    ASSERT_EQ(runTool(dir.path(),
                      "SaveValue(\"k\", 1.5)\nSaveValue(\"neg\", -2)\nSaveValue(\"t\", \"a,\\\"b\\\"\\\\c\")\n"
                      "SaveValue(\"on\", true)\nFlushValues()\n",
                      base, output),
              0)
        << output;
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "base" / "Params" / "Mia.param"));
    ASSERT_EQ(runTool(dir.path(),
                      "number $k = LoadValue(\"k\")\nnumber $neg = LoadValue(\"neg\")\n"
                      "string $t = LoadValue(\"t\")\nbool $on = LoadValue(\"on\")\nbool $e = ExistsValue(\"k\")\n",
                      base, output),
              0)
        << output;
    EXPECT_EQ(output,
              "$e\tbool\ttrue\n$k\tnumber\t1.5\n$neg\tnumber\t-2\n$on\tbool\ttrue\n$t\tstring\ta,\"b\"\\c\n");
}

TEST(ToolRun, ClearThenFlushKeepsTheFileAcrossProcesses) {
    ASSERT_TRUE(std::filesystem::exists(kTool)) << "build tavizo-tool first";
    Testing::TempDir dir;
    const std::string base = "--character Mia --base \"" + (dir.path() / "base").string() + "\"";
    std::string output;
    ASSERT_EQ(runTool(dir.path(), "SaveValue(\"k\", 3)\nFlushValues()\n", base, output), 0) << output;
    ASSERT_EQ(runTool(dir.path(), "ClearValues()\nFlushValues()\n", base, output), 0) << output;
    ASSERT_EQ(runTool(dir.path(), "number $k = LoadValue(\"k\")\n", base, output), 0) << output;
    EXPECT_EQ(output, "$k\tnumber\t3\n");
}

TEST(ToolRun, WithoutACharacterThereIsNoStore) {
    ASSERT_TRUE(std::filesystem::exists(kTool)) << "build tavizo-tool first";
    Testing::TempDir dir;
    std::string output;
    ASSERT_EQ(runTool(dir.path(), "SaveValue(\"k\", 3)\nnumber $k = LoadValue(\"k\")\n", "", output), 0) << output;
    EXPECT_EQ(output, "$k\tnumber\t0\n");
    EXPECT_NE(runTool(dir.path(), "Print(1)\n", "--character ../up", output), 0);
    EXPECT_NE(runTool(dir.path(), "Print(1)\n", "--base somewhere", output), 0);
}
