// tavizo-tool run reaches the voice-command built-ins: a script loads a template from
// the character's data folder, fills a tree and recognises the given input.
#include <gtest/gtest.h>

#include "ToolRunner.h"
#include "support/TestPaths.h"

using ToolTesting::runTool;
namespace fs = std::filesystem;

namespace {
const char* kTemplate = R"({"Version":"1.01","Basic":{"Apps":{"CommandItems":{
  "$c_home":{"Message":"Home","Command":"home-folder","Rules":[["home\u3001folder","",""]]}}}}})";
const char* kScript =
    "string $softPath = \"\"\n"
    "string $toastMessage = \"\"\n"
    "bool $loaded = SetVariablesFromFile(\"ShortcutTemplate.ctpl\")\n"
    "bool $filled = WRAddConditionsFromCommandTemplate(\"voice\", \"ShortcutTemplate.ctpl\")\n"
    "bool $heard = WRRecognize(\"voice\", GetUserInput())\n";
}  // namespace

TEST(ToolRunVoice, CharacterFolderTemplateAndInputReachTheTree) {
    Testing::TempDir dir;
    fs::create_directories(dir.path() / "Data" / "Mika");
    std::ofstream(dir.path() / "Data" / "Mika" / "ShortcutTemplate.ctpl", std::ios::binary) << kTemplate;
    std::ofstream(dir.path() / "voice.txt", std::ios::binary) << kScript;

    auto result = runTool({"run", (dir.path() / "voice.txt").string(), "--character", "Mika", "--base",
                           dir.path().string(), "--input", "open my home folder"},
                          dir.path());
    ASSERT_EQ(result.exitCode, 0) << result.out;
    EXPECT_NE(result.out.find("$c_home\tstring\thome-folder\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("$heard\tbool\ttrue\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("$softPath\tstring\thome-folder\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("$toastMessage\tstring\tHome\n"), std::string::npos) << result.out;

    // Without --character, relative paths are the working directory's: the template
    // is not there, so nothing is loaded or heard.
    result = runTool({"run", (dir.path() / "voice.txt").string(), "--input", "home folder"}, dir.path());
    ASSERT_EQ(result.exitCode, 0) << result.out;
    EXPECT_NE(result.out.find("$loaded\tbool\tfalse\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("$heard\tbool\tfalse\n"), std::string::npos) << result.out;
}
