// tavizo-tool lint on the test characters: the counts on success, and for each way a
// definition fails to load, the host's message and where it arose.
#include <gtest/gtest.h>

#include <fstream>

#include "ToolRunner.h"
#include "framework/Secure/PackageWriter.h"
#include "framework/Secure/ResourceCache.h"
#include "support/TestPaths.h"

namespace fs = std::filesystem;
using ToolTesting::runTool;

namespace {

std::string character(const char* name) { return (Testing::dataDir() / "characters" / name).string(); }

std::vector<std::uint8_t> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST(LintCommand, ReportsOkAndTheCountOfEachKindPresent) {
    Testing::TempDir temp;
    const auto result = runTool({"lint", character("full")}, temp.path());
    EXPECT_EQ(result.exitCode, 0);
    const auto slashed = runTool({"lint", character("full") + "/"}, temp.path());
    EXPECT_EQ(slashed.out, result.out);
    EXPECT_EQ(result.out,
              "ok\nINITIAL_REG 1\nFINAL_REG 1\nORDER_REG 1\nMOTION_REG 1\nIMAGE_LAYER_REG 1\nHIT_AREA_REG 1\n"
              "HIT_EVENT_REG 1\nCONDITION_EVENT_REG 1\nBALLOON_ORDER_REG 2\nBALLOON_MOTION_REG 1\n"
              "BALLOON_IMAGE_LAYER_REG 1\nTEXT_LAYER_REG 1\nTEXT_STYLE_REG 1\n");
}

TEST(LintCommand, EachFailureGivesTheMessageAndItsLocation) {
    const std::pair<const char*, const char*> cases[] = {
        {"fail-duplicate", "Twiceが重複しています。\nmain.func:13: MOTION_REG \"Twice\", first defined at main.func:7 as ORDER_REG\n"},
        {"fail-lexical", "不正な値が設定されています。\nmain.func:10: ORDER_REG \"Start\", field PosX\n"},
        {"fail-missing-image", "nothere.png が見つかりません。\nmain.func:10: MOTION_REG \"Walk\", field ImageName\n"},
        {"fail-missing-sound", "gone.wav が見つかりません。\nmain.func:14: IMAGE_LAYER_REG \"Layer\", Param line 1\n"},
        {"fail-missing-cursor",
         "pointer.cur が見つかりません。\nmain.func:10: HIT_EVENT_REG \"Poke\", field EnteredCursorName\n"},
        {"fail-no-config",
         "CONDITION_EVENT_REG のブロックに FuncName が設定されていません。\n"
         "main.func:7: CONDITION_EVENT_REG block has no <SET_CONFIG> section\n"},
        {"fail-no-funcname",
         "ORDER_REG のブロックに FuncName が設定されていません。\nmain.func:7: ORDER_REG block has no FuncName\n"},
        {"fail-no-initial", "Initial 関数が存在しません。\nno INITIAL_REG block in any .func file\n"},
        {"fail-unknown-record", "Missingは存在しません。\nmain.func:10: ORDER_REG \"Start\", field FuncNameMotion\n"},
    };
    Testing::TempDir temp;
    for (const auto& [name, expected] : cases) {
        const auto result = runTool({"lint", character(name)}, temp.path());
        EXPECT_EQ(result.exitCode, 1) << name;
        EXPECT_EQ(result.out, expected) << name;
    }
}

TEST(LintCommand, ReadsACharacterPackage) {
    Testing::TempDir temp;
    for (const char* name : {"full", "fail-missing-image"}) {
        Arbor::Secure::PackageWriter writer{std::u16string(Arbor::Secure::kPackagePassword)};
        for (const auto& entry : fs::directory_iterator(Testing::dataDir() / "characters" / name)) {
            ASSERT_TRUE(writer.add(entry.path().filename().u16string(), fileBytes(entry.path()), true, true));
        }
        ASSERT_TRUE(writer.writeTo(temp.path() / (std::string(name) + ".qnd")));
    }
    const auto ok = runTool({"lint", (temp.path() / "full.qnd").string()}, temp.path());
    EXPECT_EQ(ok.exitCode, 0);
    EXPECT_EQ(ok.out.substr(0, 17), "ok\nINITIAL_REG 1\n");
    const auto failed = runTool({"lint", (temp.path() / "fail-missing-image.qnd").string()}, temp.path());
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.out, "nothere.png が見つかりません。\nmain.func:10: MOTION_REG \"Walk\", field ImageName\n");
}

TEST(LintCommand, EmptyFolderHasNoInitialRecordAndAMissingPathFails) {
    Testing::TempDir temp;
    fs::create_directories(temp.path() / "empty");
    const auto empty = runTool({"lint", (temp.path() / "empty").string()}, temp.path());
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.out, "Initial 関数が存在しません。\nno INITIAL_REG block in any .func file\n");
    const auto missing = runTool({"lint", (temp.path() / "nowhere").string()}, temp.path());
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(runTool({"lint"}, temp.path()).exitCode, 2);
}
