// The author's kit: what "tavizo-tool new" writes lints and previews, every example
// character of the guide lints and previews, and the guide names every built-in,
// register kind, field and named constant that the code knows.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Script/F/RegisterKind.h"
#include "ToolRunner.h"
#include "framework/Text/Utf.h"
#include "support/TestPaths.h"

namespace fs = std::filesystem;
using ToolTesting::runTool;

namespace {

const fs::path docsDir() { return fs::path(TAVIZO_DOCS_DIR); }

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Lints, then previews 30 frames into an animated PNG that holds 30 frames.
void expectLintsAndPreviews(const fs::path& character, const fs::path& scratch) {
    auto r = runTool({"lint", character.string()}, scratch);
    EXPECT_EQ(r.exitCode, 0) << character << "\n" << r.out;
    EXPECT_EQ(r.out.substr(0, 3), "ok\n") << r.out;
    const fs::path out = scratch / (character.filename().string() + ".png");
    r = runTool({"preview", character.string(), "--frames", "30", "--screen", "800x600", "--out", out.string()},
                scratch);
    ASSERT_EQ(r.exitCode, 0) << character << "\n" << r.out;
    EXPECT_NE(r.out.find("30 frames of"), std::string::npos) << r.out;
    const std::string png = readFile(out);
    ASSERT_GT(png.size(), 45u);
    EXPECT_EQ(png.substr(37, 4), "acTL") << "an animation";
}

// The guide's text, with names written `Name`.
bool mentions(const std::string& guide, std::u16string_view name) {
    return guide.find("`" + Arbor::Text::toUtf8(name) + "`") != std::string::npos;
}

}  // namespace

TEST(AuthoringKit, NewWritesACharacterThatLintsAndPreviewsAndNeverOverwrites) {
    Testing::TempDir dir;
    auto r = runTool({"new", "Pebble", dir.path().string()}, dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.out;
    const fs::path made = dir.path() / "Pebble";
    for (const char* file : {"main.func", "body.png", "balloon.png"}) EXPECT_TRUE(fs::is_regular_file(made / file)) << file;
    EXPECT_NE(readFile(made / "main.func").find("ObjectID = \"Pebble\""), std::string::npos);
    expectLintsAndPreviews(made, dir.path());

    // A second run, and a run onto an existing file, change nothing.
    const std::string before = readFile(made / "main.func");
    std::ofstream(made / "main.func", std::ios::app | std::ios::binary) << "## mine\n";
    r = runTool({"new", "Pebble", dir.path().string()}, dir.path());
    EXPECT_EQ(r.exitCode, 1) << r.out;
    EXPECT_NE(r.out.find("already exists"), std::string::npos) << r.out;
    EXPECT_EQ(readFile(made / "main.func"), before + "## mine\n");
    std::ofstream(dir.path() / "Stone") << "a file";
    EXPECT_EQ(runTool({"new", "Stone", dir.path().string()}, dir.path()).exitCode, 1);
    EXPECT_EQ(readFile(dir.path() / "Stone"), "a file");

    // Names that are no folder or object name, and a missing folder, are refused.
    for (const char* bad : {"", "a/b", "..", "MAIN_OBJECT", "with space", "caf\xc3\xa9"}) {
        EXPECT_EQ(runTool({"new", bad, dir.path().string()}, dir.path()).exitCode, 2) << bad;
    }
    EXPECT_EQ(runTool({"new", "Lost", (dir.path() / "nowhere").string()}, dir.path()).exitCode, 1);
    EXPECT_EQ(runTool({"new"}, dir.path()).exitCode, 2);

    // Nothing but the characters and the files made above: no staging folder is left.
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"Pebble", "Pebble.png", "Stone"}));
}

TEST(AuthoringKit, EveryExampleCharacterLintsAndPreviews) {
    Testing::TempDir dir;
    std::vector<fs::path> examples;
    for (const auto& entry : fs::directory_iterator(docsDir() / "examples")) {
        if (entry.is_directory()) examples.push_back(entry.path());
    }
    ASSERT_GE(examples.size(), 2u);
    const std::string guide = readFile(docsDir() / "authoring.md");
    for (const auto& example : examples) {
        expectLintsAndPreviews(example, dir.path());
        EXPECT_NE(guide.find("examples/" + example.filename().string()), std::string::npos)
            << example.filename() << " is not shown in the guide";
    }
}

TEST(AuthoringKit, GuideNamesEveryBuiltInRegisterFieldAndConstant) {
    const std::string guide = readFile(docsDir() / "authoring.md");
    ASSERT_FALSE(guide.empty());
    std::vector<std::string> missing;
    const auto& table = Quenta::Interpreter::BuiltInTable::instance().entries();
    ASSERT_GT(table.size(), 100u);
    for (const auto& [name, handler] : table) {
        if (!mentions(guide, name)) missing.push_back(Arbor::Text::toUtf8(name));
    }
    for (int kind = 0; kind < Quenta::Script::kRegisterKindCount; ++kind) {
        const auto& fields = Quenta::Script::fieldNames(kind);
        for (std::size_t f = 0; f < fields.size(); ++f) {
            if (!mentions(guide, fields[f])) missing.push_back(Arbor::Text::toUtf8(fields[f]));
            if (const auto* constants = Quenta::Script::constantsOf(kind, int(f))) {
                for (const auto& [constant, value] : *constants) {
                    if (!mentions(guide, constant)) missing.push_back(Arbor::Text::toUtf8(constant));
                }
            }
        }
    }
    EXPECT_TRUE(missing.empty()) << "not in docs/authoring.md: " << ::testing::PrintToString(missing);
}
