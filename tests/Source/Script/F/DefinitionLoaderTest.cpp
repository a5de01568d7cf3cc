// Loading whole definitions: file order, resource checks and the value store step,
// from memory, from a character folder and from a character package.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "DefinitionTestSupport.h"
#include "framework/Graphics/ImageResource.h"
#include "framework/Platform/NativePath.h"
#include "framework/Secure/PackageWriter.h"
#include "framework/Secure/ResourceCache.h"
#include "framework/Secure/WholeFile.h"
#include "support/TestPaths.h"

using namespace DefinitionTest;
namespace fs = std::filesystem;

namespace {

const std::string kInit = block("INITIAL_REG", "FuncName=Init");

std::vector<std::uint8_t> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path fullCharacter() { return Testing::dataDir() / "characters" / "full"; }

// Resources of the test character, for in-memory sources.
void addFullResources(MemoryDefinitionSource& source) {
    for (const char* name : {"body.png", "eyes.tga", "balloon.png", "bgm.wav", "step.wav", "poke.wav", "hand.cur"}) {
        source.add(Arbor::Text::fromUtf8(name), fileBytes(fullCharacter() / name));
    }
}

struct Attempt {
    std::u16string message;
    std::u16string where;
    std::unique_ptr<DefinitionData> data;
};

Attempt loadFrom(MemoryDefinitionSource& source) {
    DefinitionLoader loader(source);
    Attempt attempt;
    try {
        attempt.data = loader.load();
    } catch (const ScriptException& e) {
        attempt.message = e.message();
        attempt.where = loader.where();
    }
    return attempt;
}

}  // namespace

TEST(DefinitionLoader, ReadsOnlyFuncEntriesInTheSourceOrder) {
    MemoryDefinitionSource source;
    source.addText(u"b.func", block("ORDER_REG", "FuncName=FromB"));
    source.addText(u"notes.txt", block("ORDER_REG", "FuncName=Ignored"));
    source.addText(u"a.func", block("ORDER_REG", "FuncName=FromA"));
    source.addText(u"c.FUNCX", block("ORDER_REG", "FuncName=Ignored2"));
    DefinitionLoader loader(source);
    auto data = loader.load();
    ASSERT_EQ(data->size(), 2u);
    EXPECT_EQ(data->record(0).funcName(), u"FromB");
    EXPECT_EQ(data->record(1).funcName(), u"FromA");
    EXPECT_EQ(loader.files(), (std::vector<std::u16string>{u"b.func", u"a.func"}));
}

TEST(DefinitionLoader, MalformedClosingTagLosesTheRestOfOneFileOnly) {
    MemoryDefinitionSource source;
    source.addText(u"a.func", block("ORDER_REG", "FuncName=A1") +
                                  "<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName=A2\n</SET_CONFIG>\n</FUNC_HIT_AREA_REG>\n" +
                                  block("ORDER_REG", "FuncName=A3"));
    source.addText(u"b.func", block("ORDER_REG", "FuncName=B1"));
    auto attempt = loadFrom(source);
    ASSERT_TRUE(attempt.data) << utf8(attempt.message);
    EXPECT_NE(attempt.data->find(u"A1"), nullptr);
    EXPECT_EQ(attempt.data->find(u"A2"), nullptr);
    EXPECT_EQ(attempt.data->find(u"A3"), nullptr);
    EXPECT_NE(attempt.data->find(u"B1"), nullptr);
}

TEST(DefinitionLoader, Utf16FileContributesNothingWhileUtf8WithAndWithoutMarkLoads) {
    MemoryDefinitionSource source;
    const std::string text = block("ORDER_REG", "FuncName=Same");
    std::vector<std::uint8_t> wide = {0xFF, 0xFE};
    for (char c : text) {
        wide.push_back(static_cast<std::uint8_t>(c));
        wide.push_back(0);
    }
    source.add(u"wide.func", wide);
    source.addText(u"plain.func", text);
    auto attempt = loadFrom(source);
    ASSERT_TRUE(attempt.data) << utf8(attempt.message);
    EXPECT_EQ(attempt.data->size(), 1u);

    MemoryDefinitionSource twice;
    twice.addText(u"bom.func", "\xEF\xBB\xBF" + text);
    twice.addText(u"plain.func", text);
    EXPECT_EQ(loadFrom(twice).message, u"Sameが重複しています。");
}

TEST(DefinitionLoader, MissingImageFailsWithItsName) {
    MemoryDefinitionSource source;
    source.addText(u"m.func", kInit + block("MOTION_REG", "FuncName=Walk\nImageName=\"x.png\""));
    const auto attempt = loadFrom(source);
    EXPECT_EQ(attempt.message, u"x.png が見つかりません。");
    EXPECT_EQ(attempt.where, u"m.func:9: MOTION_REG \"Walk\", field ImageName");
}

TEST(DefinitionLoader, ImageThatDoesNotDecodeCountsAsMissing) {
    MemoryDefinitionSource source;
    source.addText(u"m.func", block("IMAGE_LAYER_REG", "FuncName=L\nImageName=\"bad.tga\""));
    source.addText(u"bad.tga", "not an image");
    EXPECT_EQ(loadFrom(source).message, u"bad.tga が見つかりません。");
}

TEST(DefinitionLoader, ImageNamesOfOtherTypesAreNotChecked) {
    MemoryDefinitionSource source;
    source.addText(u"m.func", block("BALLOON_MOTION_REG", "FuncName=B\nImageName=\"picture.bmp\"") +
                                  block("BALLOON_IMAGE_LAYER_REG", "FuncName=C"));
    EXPECT_TRUE(loadFrom(source).data);
}

TEST(DefinitionLoader, SoundsOfFieldsAndFrameLinesAreChecked) {
    const std::pair<std::string, std::string> cases[] = {
        {block("ORDER_REG", "FuncName=O\nSoundNameBgm=\"bgm1.wav\""), "bgm1.wav"},
        {block("ORDER_REG", "FuncName=O\nSoundNameLButton=\"l.wav\""), "l.wav"},
        {block("ORDER_REG", "FuncName=O\nSoundNameRButton=\"r.wav\""), "r.wav"},
        {block("HIT_EVENT_REG", "FuncName=H\nSoundName=\"hit.WAV\""), "hit.WAV"},
        {block("BALLOON_ORDER_REG", "FuncName=B\nSoundNameBgm=\"b.wav\""), "b.wav"},
        {block("BALLOON_MOTION_REG", "FuncName=M", "<SET_PARAM>\n0,0,0,0,1,\"\",\"f.wav\"\n</SET_PARAM>\n"), "f.wav"},
    };
    for (const auto& [text, name] : cases) {
        MemoryDefinitionSource source;
        source.addText(u"s.func", text);
        EXPECT_EQ(utf8(loadFrom(source).message), name + " が見つかりません。");
    }
    // Names without the ".wav" extension are not sound files to check.
    MemoryDefinitionSource other;
    other.addText(u"s.func", block("ORDER_REG", "FuncName=O\nSoundNameBgm=\"music.mp3\""));
    EXPECT_TRUE(loadFrom(other).data);
}

TEST(DefinitionLoader, CursorsAreChecked) {
    MemoryDefinitionSource order;
    order.addText(u"c.func", block("ORDER_REG", "FuncName=O\nCursorName=\"busy.ani\""));
    EXPECT_EQ(loadFrom(order).message, u"busy.ani が見つかりません。");
    MemoryDefinitionSource hit;
    hit.addText(u"c.func", block("HIT_EVENT_REG", "FuncName=H\nEnteredCursorName=\"x.cur\""));
    hit.addText(u"x.cur", "not a cursor");
    EXPECT_EQ(loadFrom(hit).message, u"x.cur が見つかりません。");
}

TEST(DefinitionLoader, ChecksRunImagesThenSoundsThenCursors) {
    MemoryDefinitionSource source;
    source.addText(u"o.func", block("ORDER_REG", "FuncName=O\nCursorName=\"c.cur\"\nSoundNameBgm=\"s.wav\"") +
                                  block("TEXT_STYLE_REG", "FuncName=T") +
                                  block("BALLOON_IMAGE_LAYER_REG", "FuncName=L\nImageName=\"i.png\""));
    EXPECT_EQ(loadFrom(source).message, u"i.png が見つかりません。");
    MemoryDefinitionSource withImage;
    withImage.addText(u"o.func", block("ORDER_REG", "FuncName=O\nCursorName=\"c.cur\"\nSoundNameBgm=\"s.wav\""));
    EXPECT_EQ(loadFrom(withImage).message, u"s.wav が見つかりません。");
}

TEST(DefinitionLoader, ValueStoreLoadsLastAndOnlyAfterTheChecks) {
    int calls = 0;
    MemoryDefinitionSource good;
    good.addText(u"a.func", kInit);
    DefinitionLoader loader(good);
    loader.setValueStoreLoader([&] { ++calls; });
    loader.load();
    EXPECT_EQ(calls, 1);

    MemoryDefinitionSource bad;
    bad.addText(u"a.func", block("MOTION_REG", "FuncName=M\nImageName=\"gone.png\""));
    DefinitionLoader failing(bad);
    failing.setValueStoreLoader([&] { ++calls; });
    EXPECT_THROW(failing.load(), ScriptException);
    EXPECT_EQ(calls, 1);
}

TEST(DefinitionLoader, FullCharacterFromMemoryHasEveryRegisterKind) {
    MemoryDefinitionSource source;
    for (const char* name : {"main.func", "orders.func", "balloons.func", "wide.func"}) {
        source.add(Arbor::Text::fromUtf8(name), fileBytes(fullCharacter() / name));
    }
    addFullResources(source);
    auto attempt = loadFrom(source);
    ASSERT_TRUE(attempt.data) << utf8(attempt.message) << " at " << utf8(attempt.where);
    for (int k = 0; k < kRegisterKindCount; ++k) {
        EXPECT_FALSE(attempt.data->indexList(static_cast<RegisterKind>(k)).empty()) << k;
    }
    EXPECT_EQ(attempt.data->initialRecord().funcName(), u"Init");
}

namespace {

void expectFullCharacter(DefinitionData& data, Arbor::Secure::ResourceCache& cache) {
    EXPECT_EQ(data.size(), 14u);
    EXPECT_EQ(data.indexList(RegisterKind::BalloonOrder).size(), 2u);
    EXPECT_EQ(data.initialRecord().funcName(), u"Init");
    EXPECT_TRUE(cache.isCached(Arbor::Secure::ResourceSlot::Image, u"body.png"));
    EXPECT_TRUE(cache.isCached(Arbor::Secure::ResourceSlot::Image, u"eyes.tga"));
    EXPECT_TRUE(cache.isCached(Arbor::Secure::ResourceSlot::Sound, u"step.wav"));
    EXPECT_TRUE(cache.isCached(Arbor::Secure::ResourceSlot::Sound, u"poke.wav"));
    EXPECT_TRUE(cache.isCached(Arbor::Secure::ResourceSlot::Cursor, u"hand.cur"));
    // The multi-line Config value of main.func.
    const auto& start = data.initialRecord().field(InitialField::FuncListStart);
    ASSERT_EQ(start.size(), 1u);
    EXPECT_EQ(start[0].kind, Quenta::Interpreter::TokenKind::FuncBlock);
    EXPECT_EQ(start[0].text, u"Start");
}

}  // namespace

TEST(DefinitionLoader, FullCharacterFromItsFolder) {
    Arbor::Secure::ResourceCache cache(Arbor::Platform::fromNativePath(fullCharacter()),
                                       std::u16string(Arbor::Secure::kPackagePassword));
    auto data = loadDefinition(cache);
    expectFullCharacter(*data, cache);
}

TEST(DefinitionLoader, FullCharacterFromItsPackage) {
    Testing::TempDir temp;
    Arbor::Secure::PackageWriter writer{std::u16string(Arbor::Secure::kPackagePassword)};
    bool compress = false;
    for (const auto& entry : fs::directory_iterator(fullCharacter())) {
        const auto bytes = fileBytes(entry.path());
        ASSERT_TRUE(writer.add(entry.path().filename().u16string(), bytes, compress, true));
        compress = !compress;
    }
    ASSERT_TRUE(writer.writeTo(temp.path() / "Packed.qnd"));
    Arbor::Secure::ResourceCache cache(Arbor::Platform::fromNativePath(temp.path() / "Packed"),
                                       std::u16string(Arbor::Secure::kPackagePassword));
    auto data = loadDefinition(cache);
    expectFullCharacter(*data, cache);
}

TEST(DefinitionLoader, PackageWithAMissingImageFails) {
    Testing::TempDir temp;
    Arbor::Secure::PackageWriter writer{std::u16string(Arbor::Secure::kPackagePassword)};
    const auto text = bytesOf(block("MOTION_REG", "FuncName=M\nImageName=\"face.png\""));
    ASSERT_TRUE(writer.add(u"main.func", text, true, true));
    ASSERT_TRUE(writer.writeTo(temp.path() / "P.qnd"));
    Arbor::Secure::ResourceCache cache(Arbor::Platform::fromNativePath(temp.path() / "P"),
                                       std::u16string(Arbor::Secure::kPackagePassword));
    EXPECT_EQ(messageOf([&] { loadDefinition(cache); }), u"face.png が見つかりません。");
}

#include "Source/Interpreter/ValueStore.h"

TEST(DefinitionLoader, LoadsTheValueStoreFileAfterTheDefinition) {
    Testing::TempDir temp;
    const auto storeFile = temp.path() / "Params" / "full.param";
    {
        Quenta::Interpreter::ValueStore saved;
        saved.saveNumber(u"visits", 3);
        saved.saveString(u"name", u"full");
        ASSERT_TRUE(saved.flushToFile(storeFile));
    }
    Arbor::Secure::ResourceCache cache(Arbor::Platform::fromNativePath(fullCharacter()),
                                       std::u16string(Arbor::Secure::kPackagePassword));
    Quenta::Interpreter::ValueStore store;
    auto data = loadDefinition(cache, store, storeFile);
    ASSERT_TRUE(data);
    ASSERT_NE(store.find(u"visits"), nullptr);
    EXPECT_EQ(store.find(u"visits")->number, 3.0);
    EXPECT_EQ(store.find(u"name")->text, u"full");

    // No file: an empty store and a successful load.
    Quenta::Interpreter::ValueStore empty;
    EXPECT_TRUE(loadDefinition(cache, empty, temp.path() / "none.param"));
    EXPECT_TRUE(empty.empty());
}

TEST(DefinitionLoader, FieldThatCannotBeEvaluatedDuringTheChecksFailsWithItsPlace) {
    MemoryDefinitionSource source;
    source.addText(u"e.func", block("MOTION_REG", "FuncName=M\nImageName=$nope", "<SET_PARAM>\n0,0,0,0,1,\"\",\"\"\n</SET_PARAM>\n"));
    auto attempt = loadFrom(source);
    EXPECT_FALSE(attempt.data);
    EXPECT_NE(attempt.message, u"");
    EXPECT_EQ(attempt.where, u"e.func:4: MOTION_REG \"M\", field ImageName");

    MemoryDefinitionSource row;
    row.addText(u"e.func", block("MOTION_REG", "FuncName=M", "<SET_PARAM>\n0,0,0,0,1,\"\",\"\"\n1,2,$nope\n</SET_PARAM>\n"));
    attempt = loadFrom(row);
    EXPECT_FALSE(attempt.data);
    EXPECT_EQ(attempt.where, u"e.func:7: MOTION_REG \"M\", Param line 1");
}
