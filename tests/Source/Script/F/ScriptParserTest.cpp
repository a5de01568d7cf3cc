// Reading definition files into the element tree.
#include <gtest/gtest.h>

#include "DefinitionTestSupport.h"

using namespace DefinitionTest;

namespace {

const Element* blockAt(const ScriptParser& reader, std::u16string_view reg, std::size_t n) {
    const Element* r = reader.root().findChild(reg);
    if (!r || n >= r->children().size()) return nullptr;
    return r->children()[n].get();
}

std::vector<std::pair<std::u16string, std::u16string>> nodesOf(const Element* block, std::u16string_view section) {
    std::vector<std::pair<std::u16string, std::u16string>> out;
    if (!block) return out;
    const Element* s = block->findChild(section);
    if (!s) return out;
    for (const auto& node : s->values()) out.emplace_back(node.name, node.value);
    return out;
}

ScriptParser& readText(ScriptParser& reader, std::string_view text, std::u16string name = u"a.func") {
    reader.readFile(std::move(name), bytesOf(text));
    return reader;
}

}  // namespace

TEST(ScriptParser, TreeHasRegisterElementsInOrderOfFirstUseAndBlocksInFileOrder) {
    ScriptParser reader;
    readText(reader, block("MOTION_REG", "FuncName=M1") + block("ORDER_REG", "FuncName=O1") +
                         block("MOTION_REG", "FuncName=M2"));
    const Element& root = reader.root();
    EXPECT_EQ(root.name(), u"RootElement");
    ASSERT_EQ(root.children().size(), 2u);
    EXPECT_EQ(root.children()[0]->name(), u"MOTION_REG");
    EXPECT_EQ(root.children()[1]->name(), u"ORDER_REG");
    ASSERT_EQ(root.children()[0]->children().size(), 2u);
    EXPECT_EQ(root.children()[0]->children()[0]->name(), u"MOTION_REG");
    EXPECT_EQ(nodesOf(blockAt(reader, u"MOTION_REG", 1), u"Config"),
              (std::vector<std::pair<std::u16string, std::u16string>>{{u"FuncName", u"M2"}}));
}

TEST(ScriptParser, BraceContinuationJoinsLinesWithoutSeparator) {
    ScriptParser reader;
    readText(reader, block("ORDER_REG", "FuncName=A\nName={\na,\nb}\nOne={x}\nPart{1}=2\nHead=c}tail"));
    EXPECT_EQ(nodesOf(blockAt(reader, u"ORDER_REG", 0), u"Config"),
              (std::vector<std::pair<std::u16string, std::u16string>>{
                  {u"FuncName", u"A"}, {u"Name", u"a,b"}, {u"One", u"x"}, {u"Part1", u""}, {u"Head", u"c"}}));
}

TEST(ScriptParser, ConfigValuesAreCleanedAndSplitAtTheFirstEqualsSign) {
    ScriptParser reader;
    readText(reader, block("ORDER_REG", "FuncName = A\n  ImageName = \"x.png\" ## main image\nCond=$a==1\nBare"));
    EXPECT_EQ(nodesOf(blockAt(reader, u"ORDER_REG", 0), u"Config"),
              (std::vector<std::pair<std::u16string, std::u16string>>{
                  {u"FuncName", u"A"}, {u"ImageName", u"\"x.png\""}, {u"Cond", u"$a==1"}, {u"Bare", u""}}));
}

TEST(ScriptParser, FieldStillOpenAtSectionEndIsDropped) {
    const std::u16string lines[] = {u"A=1", u"B={", u"x"};
    const int numbers[] = {1, 2, 3};
    const auto fields = joinConfigFields(lines, numbers);
    ASSERT_EQ(fields.size(), 1u);
    EXPECT_EQ(fields[0].name, u"A");
}

TEST(ScriptParser, ParamLinesGetTheirIndexInFrontAndOtherSectionsKeepLines) {
    ScriptParser reader;
    readText(reader, block("MOTION_REG", "FuncName=M",
                           "<SET_PARAM>\n5,10\n\n7,8\n</SET_PARAM>\n<SET_TEXT>\nhello world\n</SET_TEXT>\n"
                           "<SET_CODE_INIT>\n$a=1\n</SET_CODE_INIT>\n<SET_CODE_LOOP>\n\n$a=2\n$b=3\n</SET_CODE_LOOP>\n"));
    const Element* b = blockAt(reader, u"MOTION_REG", 0);
    using Nodes = std::vector<std::pair<std::u16string, std::u16string>>;
    EXPECT_EQ(nodesOf(b, u"Param"), (Nodes{{u"0", u"0,5,10"}, {u"1", u"1,7,8"}}));
    EXPECT_EQ(nodesOf(b, u"Text"), (Nodes{{u"0", u"helloworld"}}));
    EXPECT_EQ(nodesOf(b, u"CodeInit"), (Nodes{{u"0", u"$a=1"}}));
    EXPECT_EQ(nodesOf(b, u"CodeLoop"), (Nodes{{u"0", u"$a=2"}, {u"1", u"$b=3"}}));
}

TEST(ScriptParser, SectionWithoutClosingMarkerIsAbsent) {
    ScriptParser reader;
    readText(reader, "<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName=A\n</SET_CONFIG>\n<SET_CODE_LOOP>\n$a=1\n</FUNC_ORDER_REG>\n");
    const Element* b = blockAt(reader, u"ORDER_REG", 0);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(b->findChild(u"Config"), nullptr);
    EXPECT_EQ(b->findChild(u"CodeLoop"), nullptr);
}

TEST(ScriptParser, SectionMarkersMustBeTheWholeLineButTagLinesMayCarryMore) {
    ScriptParser reader;
    readText(reader, "<FUNC_ORDER_REG> anything\n<SET_CONFIG>x\nFuncName=A\n</SET_CONFIG>\n</FUNC_ORDER_REG>trailing\n");
    const Element* b = blockAt(reader, u"ORDER_REG", 0);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->findChild(u"Config"), nullptr);
}

TEST(ScriptParser, ClosingTagOfAnotherRegisterDropsTheBlockAndTheRestOfItsFile) {
    ScriptParser reader;
    readText(reader,
             block("ORDER_REG", "FuncName=Kept") +
                 "<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName=Bad\n</SET_CONFIG>\n</FUNC_MOTION_REG>\n" +
                 block("MOTION_REG", "FuncName=Lost"),
             u"a.func");
    readText(reader, block("MOTION_REG", "FuncName=Other"), u"b.func");
    ASSERT_NE(reader.root().findChild(u"ORDER_REG"), nullptr);
    EXPECT_EQ(reader.root().findChild(u"ORDER_REG")->children().size(), 1u);
    EXPECT_EQ(nodesOf(blockAt(reader, u"MOTION_REG", 0), u"Config").at(0).second, u"Other");
    EXPECT_EQ(reader.root().findChild(u"MOTION_REG")->children().size(), 1u);
}

TEST(ScriptParser, UnknownRegisterNameIgnoresTheRestOfTheFile) {
    ScriptParser reader;
    readText(reader, block("ORDER_REG", "FuncName=A") + block("SOMETHING_REG", "FuncName=B") +
                         block("ORDER_REG", "FuncName=C"));
    EXPECT_EQ(reader.root().findChild(u"ORDER_REG")->children().size(), 1u);
}

TEST(ScriptParser, MissingClosingTagEndsTheFile) {
    ScriptParser reader;
    readText(reader, "<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName=A\n</SET_CONFIG>\n");
    EXPECT_TRUE(reader.root().children().empty());
}

TEST(ScriptParser, BlanksInsideTagsAreRemovedByCleaning) {
    // Cleaning drops blanks, so "< FUNC_ORDER_REG >" reads as the tag.
    ScriptParser reader;
    readText(reader, "< FUNC_ORDER_REG >\n< SET_CONFIG >\nFuncName=A\n</SET_CONFIG>\n</ FUNC_ORDER_REG>\n");
    EXPECT_NE(blockAt(reader, u"ORDER_REG", 0), nullptr);
}

TEST(ScriptParser, ByteOrderMarks) {
    const std::string text = block("ORDER_REG", "FuncName=A");
    ScriptParser withBom, withoutBom, utf16, utf16be, utf32, utf7;
    readText(withBom, "\xEF\xBB\xBF" + text);
    readText(withoutBom, text);
    std::string wide = "\xFF\xFE";
    for (char c : text) {
        wide += c;
        wide += '\0';
    }
    readText(utf16, wide);
    readText(utf16be, "\xFE\xFF" + text);
    readText(utf32, std::string("\xFF\xFE\0\0", 4) + text);
    readText(utf7, "+/v8" + text);
    EXPECT_NE(blockAt(withBom, u"ORDER_REG", 0), nullptr);
    EXPECT_NE(blockAt(withoutBom, u"ORDER_REG", 0), nullptr);
    EXPECT_TRUE(utf16.root().children().empty());
    EXPECT_TRUE(utf16be.root().children().empty());
    EXPECT_TRUE(utf32.root().children().empty());
    EXPECT_TRUE(utf7.root().children().empty());
}

TEST(ScriptParser, CarriageReturnLineEnds) {
    ScriptParser crlf, cr;
    std::string text = block("ORDER_REG", "FuncName=A");
    std::string crlfText, crText;
    for (char c : text) {
        crlfText += c == '\n' ? std::string("\r\n") : std::string(1, c);
        crText += c == '\n' ? std::string("\r") : std::string(1, c);
    }
    readText(crlf, crlfText);
    readText(cr, crText);
    EXPECT_EQ(nodesOf(blockAt(crlf, u"ORDER_REG", 0), u"Config").at(0).second, u"A");
    EXPECT_EQ(nodesOf(blockAt(cr, u"ORDER_REG", 0), u"Config").at(0).second, u"A");
}

TEST(ScriptParser, NodesRememberTheirFileAndLine) {
    ScriptParser reader;
    readText(reader, "## comment\n\n<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName=A\nList={\nx,\ny}\n</SET_CONFIG>\n"
                     "</FUNC_ORDER_REG>\n");
    const Element* b = blockAt(reader, u"ORDER_REG", 0);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->spot.line, 3);
    const auto& values = b->findChild(u"Config")->values();
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].spot.line, 5);
    EXPECT_EQ(values[1].spot.line, 6);
    EXPECT_EQ(reader.fileNames().at(static_cast<std::size_t>(values[1].spot.file)), u"a.func");
}
