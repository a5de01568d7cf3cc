#include "Source/Script/F/DefinitionLoader.h"

#include <span>

#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Interpreter/ValueStore.h"
#include "Source/Script/F/DefinitionMessages.h"
#include "Source/Script/F/RecordEvaluation.h"
#include "Source/Script/F/ScriptParser.h"
#include "framework/Graphics/ImageLoader.h"
#include "framework/Media/SoundLoader.h"

namespace Quenta::Script {

using Interpreter::Parser;
using Interpreter::ScriptException;

namespace {

std::u16string paramPlace(const DefinitionRecord& record, std::size_t row) {
    const auto& lines = record.origin.sectionLines[static_cast<std::size_t>(SectionKind::Param)];
    const int line = row < lines.size() ? lines[row] : record.origin.line;
    const std::string digits = std::to_string(row);
    return describeSpot(record.origin.file, line) + u": " + std::u16string(registerName(record.registerIndex())) +
           u" \"" + record.funcName() + u"\", Param line " + std::u16string(digits.begin(), digits.end());
}

bool isFrameKind(RegisterKind kind) {
    return kind == RegisterKind::Motion || kind == RegisterKind::ImageLayer || kind == RegisterKind::BalloonMotion ||
           kind == RegisterKind::BalloonImageLayer;
}

}  // namespace

bool isDefinitionFile(std::u16string_view name) { return name.ends_with(u".func"); }

std::unique_ptr<DefinitionData> DefinitionLoader::load() {
    where_.clear();
    files_.clear();
    ScriptParser reader;
    for (const std::u16string& name : source_.entryNames()) {
        if (!isDefinitionFile(name)) continue;
        files_.push_back(name);
        // An entry that is listed but cannot be read contributes no blocks, like an
        // empty file.
        const auto bytes = source_.readEntry(name);
        reader.readFile(name, bytes ? std::span<const std::uint8_t>(*bytes) : std::span<const std::uint8_t>());
    }
    std::unique_ptr<DefinitionData> data = DefinitionData::build(reader, &where_);
    data->link(&where_);
    checkResources(*data);
    if (loadValueStore_) {
        where_ = u"value store";
        loadValueStore_();
    }
    where_.clear();
    return data;
}

void DefinitionLoader::checkResources(DefinitionData& data) {
    Parser parser;
    parser.setFunctionObjects(&data.functionObjects());
    if (builtIns_) parser.setBuiltIns(*builtIns_);

    // Where the check is, turned into text only when something fails there.
    const DefinitionRecord* record = nullptr;
    int field = -1;
    std::size_t row = 0;
    auto place = [&] { return field >= 0 ? describeField(*record, field) : paramPlace(*record, row); };
    auto fail = [&](std::u16string message) {
        where_ = place();
        throw ScriptException(std::move(message));
    };
    auto fieldText = [&](const DefinitionRecord& r, int f) {
        record = &r;
        field = f;
        try {
            return evaluateField(parser, r, f)->toStr();
        } catch (const ScriptException& e) {
            fail(e.message());
        }
        return std::u16string();
    };
    auto require = [&](bool loaded, const std::u16string& name) {
        if (!loaded) fail(Messages::missingFile(name));
    };

    // Images.
    for (const auto& each : data.records()) {
        if (!isFrameKind(each->kind())) continue;
        const std::u16string name = fieldText(*each, MotionField::ImageName);
        if (Arbor::Graphics::imageFileKind(name) == Arbor::Graphics::ImageFileKind::Unknown) continue;
        require(source_.loadImage(name), name);
    }

    // Sounds.
    auto sound = [&](const std::u16string& name) {
        if (!Arbor::Media::hasWaveExtension(name)) return;
        require(source_.loadSound(name), name);
    };
    for (const auto& each : data.records()) {
        switch (each->kind()) {
            case RegisterKind::Order:
                sound(fieldText(*each, OrderField::SoundNameBgm));
                sound(fieldText(*each, OrderField::SoundNameLButton));
                sound(fieldText(*each, OrderField::SoundNameRButton));
                break;
            case RegisterKind::HitEvent: sound(fieldText(*each, HitEventField::SoundName)); break;
            case RegisterKind::BalloonOrder: sound(fieldText(*each, BalloonOrderField::SoundNameBgm)); break;
            default: break;
        }
        if (!isFrameKind(each->kind())) continue;
        if (const auto* rows = each->section(SectionKind::Param)) {
            record = each.get();
            field = -1;
            for (row = 0; row < rows->size(); ++row) {
                std::u16string name;
                try {
                    name = evaluateFrameLine(parser, (*rows)[row]).soundName;
                } catch (const ScriptException& e) {
                    fail(e.message());
                }
                sound(name);
            }
        }
    }

    // Cursors.
    for (const auto& each : data.records()) {
        int cursorField = -1;
        if (each->kind() == RegisterKind::Order) cursorField = OrderField::CursorName;
        if (each->kind() == RegisterKind::HitEvent) cursorField = HitEventField::EnteredCursorName;
        if (cursorField < 0) continue;
        const std::u16string name = fieldText(*each, cursorField);
        if (name.empty()) continue;  // no cursor named
        require(source_.loadCursor(name), name);
    }
    where_.clear();
}

std::unique_ptr<DefinitionData> loadDefinition(Arbor::Secure::ResourceCache& cache,
                                               std::function<void()> loadValueStore) {
    CacheDefinitionSource source(cache);
    DefinitionLoader loader(source);
    loader.setValueStoreLoader(std::move(loadValueStore));
    return loader.load();
}

}  // namespace Quenta::Script

namespace Quenta::Script {

std::unique_ptr<DefinitionData> loadDefinition(Arbor::Secure::ResourceCache& cache, Interpreter::ValueStore& store,
                                               const std::filesystem::path& storeFile) {
    // A store that cannot be read is an empty store, not a failed start.
    return loadDefinition(cache, [&store, storeFile] { store.loadFile(storeFile); });
}

}  // namespace Quenta::Script
