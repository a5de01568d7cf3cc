// Command templates and shortcut settings: reading with lenient conversions, writing
// back, laying settings over a template, and the upgrade of version "1.00" files.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Source/Data/Repository/CommandTemplateManager.h"
#include "Source/Data/Repository/ShortcutSettings.h"
#include "Source/Data/Repository/VoiceCommandUpgrade.h"
#include "framework/Text/Utf.h"
#include "support/TestPaths.h"

using namespace Quenta::Data::Repository;
namespace fs = std::filesystem;

namespace {

void writeFile(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

const CommandContext& command(const CommandTemplateManager& m, std::u16string_view category, std::size_t group,
                              std::size_t index) {
    return *m.category(category)->groups().at(group)->commands.at(index);
}

// A "1.00" template: one fixed and one modifiable command in "Shortcut", one in "Basic".
const std::string kOldTemplate = R"({"Version":"1.00",
 "Shortcut":{"Edit":{"Label":"Edit","IsDisplayed":true,"IsModifiable":true,"CommandItems":{
   "$u_copy":{"Label":"Copy","Message":"Copied","Command":"Ctrl+C","InputType":1,"IsRepeatable":true,
              "IsModifiable":false,"IsClipboardEnabled":false,"Rules":[["copy","",""]]},
   "$u_mine":{"Label":"Mine","Message":"Mine","Command":"Ctrl+M","InputType":1,"IsRepeatable":false,
              "IsModifiable":true,"IsClipboardEnabled":false,"Rules":[["mine","",""]]}}}},
 "Basic":{"Apps":{"Label":"Apps","IsDisplayed":true,"IsModifiable":false,"CommandItems":{
   "$u_web":{"Label":"Web","Message":"Opening","Command":"https://example.org","InputType":0,
             "IsRepeatable":false,"IsModifiable":false,"IsClipboardEnabled":false,"Rules":[["web","",""]]}}}}})";

}  // namespace

TEST(CommandTemplate, MissingAndMistypedMembersReadAsDefaults) {
    CommandTemplateManager m;
    m.loadText(uR"({"Version":"1.01","Basic":{"G":{"CommandItems":{
        "$a":{},
        "$b":{"InputType":"-2","IsRepeatable":1,"Rules":[["x"],"bad",["p","q","r","s"]]},
        "$c":{"InputType":"2x"},
        "$d":{"InputType":2.9},
        "$e":{"InputType":true},
        "$f":{"InputType":-7.5}}}}})");
    EXPECT_EQ(m.version(), u"1.01");
    const CommandContext& a = command(m, u"Basic", 0, 0);
    EXPECT_EQ(a.label(), u"undefined");
    EXPECT_EQ(a.command, u"undefined");
    EXPECT_EQ(a.inputType, 0);
    EXPECT_FALSE(a.isRepeatable);
    EXPECT_FALSE(a.isModifiable());
    const CommandContext& b = command(m, u"Basic", 0, 1);
    EXPECT_EQ(b.inputType, -2);
    EXPECT_TRUE(b.isRepeatable);
    ASSERT_EQ(b.rules.size(), 3u);
    EXPECT_EQ(b.rules[0], (CommandRule{u"x", u"undefined", u"undefined"}));
    EXPECT_EQ(b.rules[1], (CommandRule{u"undefined", u"undefined", u"undefined"}));
    EXPECT_EQ(b.rules[2], (CommandRule{u"p", u"q", u"r"}));
    EXPECT_EQ(command(m, u"Basic", 0, 2).inputType, 0);
    EXPECT_EQ(command(m, u"Basic", 0, 3).inputType, 2);
    EXPECT_EQ(command(m, u"Basic", 0, 4).inputType, 1);
    EXPECT_EQ(command(m, u"Basic", 0, 5).inputType, -7);
    EXPECT_EQ(m.category(u"Nothing"), nullptr);
}

TEST(CommandTemplate, UnreadableOrBrokenFilesGiveAnEmptyManager) {
    Testing::TempDir dir;
    CommandTemplateManager m;
    m.loadText(u"{\"Version\":\"1.01\",\"Basic\":{}}");
    m.load(dir.path() / "absent.ctpl");
    EXPECT_TRUE(m.categories().empty());
    EXPECT_EQ(m.version(), u"");
    writeFile(dir.path() / "broken.ctpl", "{\"Version\":\"1.00\",\"Basic\":{");
    m.load(dir.path() / "broken.ctpl");
    EXPECT_TRUE(m.categories().empty());
    // Another Unicode byte-order mark makes the file read as empty.
    writeFile(dir.path() / "utf16.ctpl", "\xFF\xFE{\0}\0");
    m.load(dir.path() / "utf16.ctpl");
    EXPECT_EQ(m.version(), u"");
    // A UTF-8 mark is skipped.
    writeFile(dir.path() / "bom.ctpl", "\xEF\xBB\xBF{\"Version\":\"1.00\"}");
    m.load(dir.path() / "bom.ctpl");
    EXPECT_EQ(m.version(), u"1.00");
}

TEST(CommandTemplate, SaveWritesVersion101SortedCategoriesAndReadsBack) {
    Testing::TempDir dir;
    CommandTemplateManager m;
    m.loadText(Arbor::Text::fromUtf8(kOldTemplate));
    const fs::path out = dir.path() / "t.ctpl";
    ASSERT_TRUE(m.save(out));
    const std::string bytes = readFile(out);
    ASSERT_EQ(bytes.rfind("\xEF\xBB\xBF{\"Version\":\"1.01\",\"Basic\":", 0), 0u) << bytes;
    EXPECT_NE(bytes.find("\"$u_copy\":{\"Label\":\"Copy\",\"Message\":\"Copied\",\"Command\":\"Ctrl+C\","
                         "\"InputType\":1,\"IsRepeatable\":true,\"IsModifiable\":false,"
                         "\"IsClipboardEnabled\":false,\"Rules\":[[\"copy\",\"\",\"\"]]}"),
              std::string::npos)
        << bytes;
    CommandTemplateManager again;
    again.load(out);
    EXPECT_EQ(again.version(), u"1.01");
    EXPECT_EQ(again.text(), m.text());
    EXPECT_EQ(again.commandCount(), 3u);
}

TEST(ShortcutSettings, LinesAreTrimmedUnquotedAndUnescaped) {
    using namespace ShortcutSettings;
    auto s = parseLine(u"$u_a =  \"C:\\\\Tools\\\\x.exe\"  ## the editor");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->identifier, u"$u_a");
    EXPECT_EQ(s->value, u"C:\\Tools\\x.exe");
    // Single backslashes vanish, except that \n, \s and \t become characters.
    EXPECT_EQ(parseLine(u"$x=\"C:\\Program\\new\\sdir\"")->value, u"C:Program\new dir");
    // No "=": the whole trimmed line names the command, with an empty text.
    s = parseLine(u"$u_b  ");
    EXPECT_EQ(s->identifier, u"$u_b");
    EXPECT_EQ(s->value, u"");
    EXPECT_FALSE(parseLine(u" $u_c=\"x\""));
    EXPECT_FALSE(parseLine(u"# comment"));
    EXPECT_FALSE(parseLine(u""));
    EXPECT_EQ(splitLines(u"a\r\nb\rc\n"), (std::vector<std::u16string>{u"a", u"b\rc"}));
    EXPECT_EQ(splitLines(u"a\rb"), (std::vector<std::u16string>{u"a", u"b"}));
    EXPECT_TRUE(splitLines(u"").empty());
}

TEST(ShortcutSettings, WrittenTextsSurviveAReadExceptTrailingQuotes) {
    using namespace ShortcutSettings;
    const std::u16string text = u"a ## b\t\"c\"\\d\ne#";
    EXPECT_EQ(parseLine(formatLine(u"$u_x", text))->value, text);
    EXPECT_EQ(parseLine(formatLine(u"$u_x", u"say \"hi\""))->value, u"say \"hi");
}

TEST(ShortcutSettings, AppliedOverACollectionLaterLinesWinAndGroupsAreIgnored) {
    Testing::TempDir dir;
    CommandTemplateManager m;
    m.loadText(Arbor::Text::fromUtf8(kOldTemplate));
    writeFile(dir.path() / "s.cnf", "\xEF\xBB\xBF$u_copy=\"one\"\r\n$u_copy = \"two\"\r\nEdit=\"x\"\r\n$Edit=\"y\"\r\n"
                                     "$u_unknown=\"z\"\r\n  $u_mine=\"ignored\"");
    GroupCollection& shortcut = *m.category(u"Shortcut");
    EXPECT_TRUE(shortcut.applySettings(dir.path() / "s.cnf"));
    EXPECT_EQ(command(m, u"Shortcut", 0, 0).command, u"two");
    EXPECT_EQ(command(m, u"Shortcut", 0, 1).command, u"Ctrl+M");
    EXPECT_FALSE(shortcut.applySettings(dir.path() / "s.txt"));

    ASSERT_TRUE(shortcut.writeSettings(dir.path() / "out.cnf"));
    EXPECT_EQ(readFile(dir.path() / "out.cnf"), "\xEF\xBB\xBF$u_copy=\"two\"\r\n$u_mine=\"Ctrl+M\"");

    // A template laid over as settings takes only the command texts.
    writeFile(dir.path() / "other.ctpl",
              R"({"Version":"1.01","X":{"G":{"CommandItems":{"$u_mine":{"Command":"Alt+M","Label":"New"},"$u_copy":{}}}}})");
    EXPECT_TRUE(shortcut.applySettings(dir.path() / "other.ctpl"));
    EXPECT_EQ(command(m, u"Shortcut", 0, 1).command, u"Alt+M");
    EXPECT_EQ(command(m, u"Shortcut", 0, 1).label(), u"Mine");
    EXPECT_EQ(command(m, u"Shortcut", 0, 0).command, u"undefined");
}

TEST(VoiceCommandUpgrade, RenamesFixedCommandsInTemplateAndEverySettingsFile) {
    Testing::TempDir dir;
    writeFile(dir.path() / "ShortcutTemplate.ctpl", kOldTemplate);
    writeFile(dir.path() / "ShortcutSettings.cnf", "$u_copy=\"Ctrl+Shift+C\"\n$u_mine=\"Ctrl+J\"\n$u_web=\"https://a.example\"");
    // A file written partly under the new names already: those lines count too.
    writeFile(dir.path() / "ShortcutSettings_3.cnf", "$c_copy=\"Ctrl+3\"");
    writeFile(dir.path() / "ShortcutSettings_11.cnf", "$u_copy=\"untouched\"");
    EXPECT_EQ(existingSettingsFiles(dir.path()).size(), 2u);

    ASSERT_TRUE(upgradeVoiceCommandFiles(dir.path()));
    CommandTemplateManager m;
    m.load(dir.path() / "ShortcutTemplate.ctpl");
    EXPECT_EQ(m.version(), u"1.01");
    EXPECT_EQ(command(m, u"Shortcut", 0, 0).identifier(), u"$c_copy");
    EXPECT_EQ(command(m, u"Shortcut", 0, 1).identifier(), u"$u_mine");
    EXPECT_EQ(command(m, u"Basic", 0, 0).identifier(), u"$c_web");
    // Every category's lines are kept, under the new identifiers, with the user's texts.
    EXPECT_EQ(readFile(dir.path() / "ShortcutSettings.cnf"),
              "\xEF\xBB\xBF$c_web=\"https://a.example\"\r\n$c_copy=\"Ctrl+Shift+C\"\r\n$u_mine=\"Ctrl+J\"");
    EXPECT_EQ(readFile(dir.path() / "ShortcutSettings_3.cnf"),
              "\xEF\xBB\xBF$c_web=\"https://example.org\"\r\n$c_copy=\"Ctrl+3\"\r\n$u_mine=\"Ctrl+M\"");
    EXPECT_EQ(readFile(dir.path() / "ShortcutSettings_11.cnf"), "$u_copy=\"untouched\"");

    // Once upgraded, a second start changes nothing.
    const std::string settings = readFile(dir.path() / "ShortcutSettings.cnf");
    EXPECT_FALSE(upgradeVoiceCommandFiles(dir.path()));
    EXPECT_EQ(readFile(dir.path() / "ShortcutSettings.cnf"), settings);
}

TEST(VoiceCommandUpgrade, OddTemplatesChangeNoSettingsFile) {
    Testing::TempDir dir;
    const std::string settings = "$u_copy=\"keep me\"\n";
    writeFile(dir.path() / "ShortcutSettings.cnf", settings);
    // No template, a broken one, a newer one: nothing happens.
    EXPECT_FALSE(upgradeVoiceCommandFiles(dir.path()));
    writeFile(dir.path() / "ShortcutTemplate.ctpl", "{\"Version\":\"1.00\",");
    EXPECT_FALSE(upgradeVoiceCommandFiles(dir.path()));
    EXPECT_EQ(readFile(dir.path() / "ShortcutTemplate.ctpl"), "{\"Version\":\"1.00\",");
    writeFile(dir.path() / "ShortcutTemplate.ctpl", "{\"Version\":\"1.01\",\"Basic\":{}}");
    EXPECT_FALSE(upgradeVoiceCommandFiles(dir.path()));
    // A "1.00" template without commands (no "Shortcut" category either): the
    // template is marked upgraded, the settings files are left as they are.
    writeFile(dir.path() / "ShortcutTemplate.ctpl", "{\"Version\":\"1.00\",\"Basic\":{}}");
    EXPECT_TRUE(upgradeVoiceCommandFiles(dir.path()));
    EXPECT_EQ(readFile(dir.path() / "ShortcutSettings.cnf"), settings);
    CommandTemplateManager m;
    m.load(dir.path() / "ShortcutTemplate.ctpl");
    EXPECT_EQ(m.version(), u"1.01");
}

TEST(VoiceCommandUpgrade, TemplateWithoutShortcutCategoryStillUpgradesItsOtherCommands) {
    Testing::TempDir dir;
    writeFile(dir.path() / "ShortcutTemplate.ctpl",
              R"({"Version":"1.00","Basic":{"A":{"CommandItems":{"$u_web":{"Command":"x","IsModifiable":false}}}}})");
    writeFile(dir.path() / "ShortcutSettings.cnf", "$u_web=\"https://b.example\"");
    ASSERT_TRUE(upgradeVoiceCommandFiles(dir.path()));
    EXPECT_EQ(readFile(dir.path() / "ShortcutSettings.cnf"), "\xEF\xBB\xBF$c_web=\"https://b.example\"");
}
