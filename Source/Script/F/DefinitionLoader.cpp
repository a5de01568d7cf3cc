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

    auto fieldText = [&](const DefinitionRecord& record, int field) {
        where_ = describeField(record, field);
        return evaluateField(parser, record, field)->toStr();
    };
    auto require = [&](bool loaded, const std::u16string& name) {
        if (!loaded) throw ScriptException(Messages::missingFile(name));
    };

    // Images.
    for (const auto& record : data.records()) {
        if (!isFrameKind(record->kind())) continue;
        const std::u16string name = fieldText(*record, MotionField::ImageName);
        if (Arbor::Graphics::imageFileKind(name) == Arbor::Graphics::ImageFileKind::Unknown) continue;
        require(source_.loadImage(name), name);
    }

    // Sounds.
    auto sound = [&](const std::u16string& name) {
        if (!Arbor::Media::hasWaveExtension(name)) return;
        require(source_.loadSound(name), name);
    };
    for (const auto& record : data.records()) {
        switch (record->kind()) {
            case RegisterKind::Order:
                sound(fieldText(*record, OrderField::SoundNameBgm));
                sound(fieldText(*record, OrderField::SoundNameLButton));
                sound(fieldText(*record, OrderField::SoundNameRButton));
                break;
            case RegisterKind::HitEvent: sound(fieldText(*record, HitEventField::SoundName)); break;
            case RegisterKind::BalloonOrder: sound(fieldText(*record, BalloonOrderField::SoundNameBgm)); break;
            default: break;
        }
        if (!isFrameKind(record->kind())) continue;
        if (const auto* rows = record->section(SectionKind::Param)) {
            for (std::size_t row = 0; row < rows->size(); ++row) {
                where_ = paramPlace(*record, row);
                sound(evaluateFrameLine(parser, (*rows)[row]).soundName);
            }
        }
    }

    // Cursors.
    for (const auto& record : data.records()) {
        int field = -1;
        if (record->kind() == RegisterKind::Order) field = OrderField::CursorName;
        if (record->kind() == RegisterKind::HitEvent) field = HitEventField::EnteredCursorName;
        if (field < 0) continue;
        const std::u16string name = fieldText(*record, field);
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
