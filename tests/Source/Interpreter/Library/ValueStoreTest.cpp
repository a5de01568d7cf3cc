#include "Source/Interpreter/ValueStore.h"

#include <gtest/gtest.h>

#include <fstream>

#include "framework/Text/Utf.h"

#include "Source/Interpreter/ScriptTestSupport.h"
#include "Source/Interpreter/StandaloneScriptOwner.h"
#include "Source/Interpreter/ValueStoreFile.h"
#include "support/TestPaths.h"

using namespace ScriptTest;
namespace StoreFile = Quenta::Interpreter::ValueStoreFile;

namespace {

// A character with its store under a temporary writable base, and a parser for it.
class StoreCharacter {
public:
    explicit StoreCharacter(const std::filesystem::path& base) : owner_(u"Mia", base), parser_(&owner_) {
        owner_.setVariableTable(&parser_.variables());
        owner_.loadValueStore();
    }
    void run(const std::vector<std::u16string>& lines) {
        block_ = blockOf(lines);
        runBlock(parser_, block_);
    }
    Value* variable(const std::u16string& name) { return parser_.variables().find(name); }
    StandaloneScriptOwner& owner() { return owner_; }

private:
    StandaloneScriptOwner owner_;
    Parser parser_;
    TokenBlock block_;
};

void writeStoreText(const std::filesystem::path& file, const std::u16string& text) {
    std::filesystem::create_directories(file.parent_path());
    const auto bytes = StoreFile::encode(text);
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               static_cast<std::streamsize>(bytes.size()));
}

std::u16string readStoreText(const std::filesystem::path& file) {
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(StoreFile::readBytes(file, bytes));
    return StoreFile::decode(bytes);
}

}  // namespace

TEST(ValueStore, TextIsOrderedAndQuoted) {
    ValueStore store;
    store.saveNumber(u"b", 1.5);
    store.saveString(u"a", u"x,\"y\"\\z");
    store.saveBool(u"c", false);
    store.saveNumber(u"d", -2);
    EXPECT_EQ(store.toText(), u"{\"a\":\"x,\\\"y\\\"\\\\z\",\"b\":1.500000,\"c\":false,\"d\":-2.000000}");
}

TEST(ValueStore, PlainFormatLoadsAsBefore) {
    // The form written before texts were escaped: nothing escaped, split at commas.
    ValueStore store;
    store.loadText(u"{\"count\":12.000000,\"name\":\"Mia\",\"neg\":-2.500000,\"on\":true,\"off\":false,"
                   u"\"path\":\"C:\\dir\"}");
    ASSERT_EQ(store.entries().size(), 6u);
    EXPECT_EQ(store.find(u"count")->kind, TokenKind::Number);
    EXPECT_EQ(store.find(u"count")->number, 12);
    EXPECT_EQ(store.find(u"name")->text, u"Mia");
    EXPECT_EQ(store.find(u"neg")->number, -2.5);
    EXPECT_EQ(store.find(u"neg")->text, u"-2.500000");
    EXPECT_EQ(store.find(u"on")->kind, TokenKind::KwTrue);
    EXPECT_EQ(store.find(u"off")->kind, TokenKind::KwFalse);
    // The lexer drops a backslash before an ordinary character, as it always did.
    EXPECT_EQ(store.find(u"path")->text, u"C:dir");
}

TEST(ValueStore, BadEntriesAreSkipped) {
    ValueStore store;
    // A value that is no literal, a character the lexer rejects, an empty entry.
    store.loadText(u"{\"a\":1,\"c\":(,\"e\":§,,\"d\":2}");
    EXPECT_TRUE(store.exists(u"a"));
    EXPECT_TRUE(store.exists(u"d"));
    EXPECT_FALSE(store.exists(u"c"));
    EXPECT_FALSE(store.exists(u"e"));
    // An unterminated literal runs to the end and is dropped; what came before stays.
    store.loadText(u"{\"x\":1,\"b\":\"open,\"z\":2}");
    EXPECT_TRUE(store.exists(u"x"));
    EXPECT_FALSE(store.exists(u"b"));
    store.erase(u"x");
    store.loadText(u"no braces at all");
    store.loadText(u"{}");
    EXPECT_EQ(store.entries().size(), 2u);
}

TEST(ValueStore, NonFiniteNumbersComeBack) {
    ValueStore store;
    store.saveNumber(u"big", 1.0 / 0.0);
    store.saveNumber(u"small", -1.0 / 0.0);
    ValueStore reloaded;
    reloaded.loadText(store.toText());
    EXPECT_EQ(reloaded.find(u"big")->number, 1.0 / 0.0);
    EXPECT_EQ(reloaded.find(u"small")->number, -1.0 / 0.0);
}

TEST(ValueStore, FileRoundTripOfAwkwardTexts) {
    Testing::TempDir dir;
    const auto file = dir.path() / "Params" / "x.param";
    ValueStore store;
    const std::u16string texts[] = {u"a,b", u"say \"hi\"", u"back\\slash\\", u"\\\"", u"}{", u"改行\nと\tタブ", u""};
    int i = 0;
    for (const auto& text : texts) {
        store.saveString(u"k" + std::u16string(1, static_cast<char16_t>(u'0' + i++)), text);
    }
    store.saveString(u"key, \"odd\"\\", u"v");
    ASSERT_TRUE(store.flushToFile(file));
    ValueStore reloaded;
    ASSERT_TRUE(reloaded.loadFile(file));
    EXPECT_EQ(reloaded.entries().size(), store.entries().size());
    for (const auto& [key, token] : store.entries()) {
        const Token* back = reloaded.find(key);
        ASSERT_NE(back, nullptr) << Arbor::Text::toUtf8(key);
        EXPECT_EQ(back->kind, TokenKind::String);
        EXPECT_EQ(back->text, token.text) << Arbor::Text::toUtf8(key);
    }
}

TEST(ValueStore, FileIsScrambledUtf16WithoutBom) {
    Testing::TempDir dir;
    const auto file = dir.path() / "Params" / "x.param";
    ValueStore store;
    store.saveNumber(u"k", 1.5);
    ASSERT_TRUE(store.flushToFile(file));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(StoreFile::readBytes(file, bytes));
    // Pinned by the independent model (see ValueStoreFileTest).
    EXPECT_EQ(bytes, StoreFile::encode(u"{\"k\":1.500000}"));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xd2);
    EXPECT_EQ(bytes[1], 0x8f);
}

TEST(ValueStore, EmptyStoreWritesNothing) {
    Testing::TempDir dir;
    const auto file = dir.path() / "Params" / "x.param";
    ValueStore store;
    EXPECT_FALSE(store.flushToFile(file));
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(ValueStore, StoreFilePath) {
    EXPECT_EQ(ValueStore::storeFilePath("/base", u"Mia"), std::filesystem::path("/base/Params/Mia.param"));
}

TEST(ValueStoreBuiltIns, SaveFlushAndReloadInANewCharacter) {
    Testing::TempDir base;
    {
        StoreCharacter mia(base.path());
        mia.run({u"SaveValue(\"k\", 1.5)", u"SaveValue(\"neg\", -2)", u"SaveValue(\"t\", \"a,\\\"b\\\"\\\\c\")",
                 u"SaveValue(\"yes\", true)", u"SaveValue(\"no\", 1 == 2)", u"FlushValues()"});
    }
    ASSERT_TRUE(std::filesystem::exists(base.path() / "Params" / "Mia.param"));
    StoreCharacter again(base.path());
    again.run({u"number $k = LoadValue(\"k\")", u"number $neg = LoadValue(\"neg\")", u"string $t = LoadValue(\"t\")",
               u"bool $yes = LoadValue(\"yes\")", u"bool $no = ToBool(1)", u"$no = LoadValue(\"no\")",
               u"bool $e = ExistsValue(\"k\")"});
    EXPECT_EQ(again.variable(u"$k")->toNum(), 1.5);
    EXPECT_EQ(again.variable(u"$neg")->toNum(), -2);
    EXPECT_EQ(again.variable(u"$t")->toStr(), u"a,\"b\"\\c");
    EXPECT_TRUE(again.variable(u"$yes")->toBool());
    EXPECT_FALSE(again.variable(u"$no")->toBool());
    EXPECT_TRUE(again.variable(u"$e")->toBool());
}

TEST(ValueStoreBuiltIns, LoadGivesTheStoredKind) {
    Testing::TempDir base;
    StoreCharacter mia(base.path());
    mia.run({u"SaveValue(\"n\", 3)", u"SaveValue(\"s\", \"3\")", u"SaveValue(\"b\", true)",
             u"bool $isNum = LoadValue(\"n\") == 3", u"string $s = LoadValue(\"s\") + 1",
             u"bool $b = LoadValue(\"b\") && true", u"number $absent = LoadValue(\"none\")",
             u"bool $exists = ExistsValue(\"none\")"});
    EXPECT_TRUE(mia.variable(u"$isNum")->toBool());
    EXPECT_EQ(mia.variable(u"$s")->toStr(), u"31");
    EXPECT_TRUE(mia.variable(u"$b")->toBool());
    EXPECT_EQ(mia.variable(u"$absent")->toNum(), 0);
    EXPECT_FALSE(mia.variable(u"$exists")->toBool());
}

TEST(ValueStoreBuiltIns, SaveReplacesAndIgnoresOtherKinds) {
    Testing::TempDir base;
    StoreCharacter mia(base.path());
    mia.run({u"SaveValue(\"k\", 1)", u"SaveValue(\"k\", \"now text\")", u"SaveValue(\"v\", )",
             u"SaveValue(\"half\")"});
    EXPECT_EQ(mia.owner().valueStore()->find(u"k")->text, u"now text");
    EXPECT_FALSE(mia.owner().valueStore()->exists(u"v"));
    EXPECT_FALSE(mia.owner().valueStore()->exists(u"half"));
}

TEST(ValueStoreBuiltIns, EraseAndClear) {
    Testing::TempDir base;
    StoreCharacter mia(base.path());
    mia.run({u"SaveValue(\"a\", 1)", u"SaveValue(\"b\", 2)", u"EraseValue(\"a\")", u"EraseValue(\"zzz\")"});
    EXPECT_FALSE(mia.owner().valueStore()->exists(u"a"));
    EXPECT_TRUE(mia.owner().valueStore()->exists(u"b"));
    mia.run({u"number $r = ClearValues() + FlushValues() + EraseValue(\"b\") + SaveValue(\"c\", 1)"});
    EXPECT_EQ(mia.variable(u"$r")->toNum(), 0);
    mia.run({u"ClearValues()"});
    EXPECT_TRUE(mia.owner().valueStore()->empty());
}

TEST(ValueStoreBuiltIns, ClearThenFlushKeepsTheOldFile) {
    Testing::TempDir base;
    {
        StoreCharacter mia(base.path());
        mia.run({u"SaveValue(\"k\", 7)", u"FlushValues()", u"ClearValues()", u"FlushValues()"});
    }
    StoreCharacter again(base.path());
    again.run({u"number $k = LoadValue(\"k\")"});
    EXPECT_EQ(again.variable(u"$k")->toNum(), 7);
}

TEST(ValueStoreBuiltIns, PlainFileWrittenByHandLoads) {
    Testing::TempDir base;
    writeStoreText(base.path() / "Params" / "Mia.param", u"{\"n\":-2.000000,\"s\":\"hello world\",\"b\":true}");
    StoreCharacter mia(base.path());
    mia.run({u"number $n = LoadValue(\"n\")", u"string $s = LoadValue(\"s\")", u"bool $b = LoadValue(\"b\")"});
    EXPECT_EQ(mia.variable(u"$n")->toNum(), -2);
    EXPECT_EQ(mia.variable(u"$s")->toStr(), u"hello world");
    EXPECT_TRUE(mia.variable(u"$b")->toBool());
    // Flushing writes the same entries back, in key order.
    mia.run({u"FlushValues()"});
    EXPECT_EQ(readStoreText(base.path() / "Params" / "Mia.param"),
              u"{\"b\":true,\"n\":-2.000000,\"s\":\"hello world\"}");
}

TEST(ValueStoreBuiltIns, WithoutACharacterTheyDoNothing) {
    Parser parser;
    TokenBlock block = blockOf({u"number $a = SaveValue(\"k\", 1)", u"number $b = LoadValue(\"k\")",
                                u"bool $c = ExistsValue(\"k\")", u"number $d = FlushValues()",
                                u"number $e = ClearValues()", u"number $f = EraseValue(\"k\")"});
    runBlock(parser, block);
    EXPECT_EQ(parser.variables().find(u"$b")->toNum(), 0);
    EXPECT_FALSE(parser.variables().find(u"$c")->toBool());
    for (const char16_t* name : {u"$a", u"$d", u"$e", u"$f"}) EXPECT_EQ(parser.variables().find(name)->toNum(), 0);
}

TEST(ValueStoreBuiltIns, NoArgumentsGiveTheDefaults) {
    Testing::TempDir base;
    StoreCharacter mia(base.path());
    mia.run({u"SaveValue(\"\", 1)", u"bool $e = ExistsValue()", u"number $l = LoadValue()", u"number $s = SaveValue()"});
    EXPECT_FALSE(mia.variable(u"$e")->toBool());
    EXPECT_EQ(mia.variable(u"$l")->toNum(), 0);
}

TEST(ValueStoreBuiltIns, UnwritableBaseKeepsGoing) {
    Testing::TempDir base;
    // A file where the Params folder should be: the folder cannot be made.
    std::ofstream(base.path() / "Params") << "x";
    StoreCharacter mia(base.path());
    mia.run({u"SaveValue(\"k\", 1)", u"FlushValues()", u"number $k = LoadValue(\"k\")"});
    EXPECT_EQ(mia.variable(u"$k")->toNum(), 1);
}
