#include "Source/Script/F/DefinitionSource.h"

#include "framework/Graphics/CursorDecoder.h"
#include "framework/Graphics/ImageLoader.h"
#include "framework/Graphics/ImageResource.h"
#include "framework/Media/SoundLoader.h"
#include "framework/Media/SoundResource.h"
#include "framework/Secure/ResourceCache.h"

namespace Quenta::Script {

std::vector<std::u16string> CacheDefinitionSource::entryNames() { return cache_.listFiles(cache_.dataFolder()); }

std::optional<std::vector<std::uint8_t>> CacheDefinitionSource::readEntry(std::u16string_view name) {
    auto blob = cache_.load(name);
    if (!blob) return std::nullopt;
    return std::move(blob->bytes);
}

bool CacheDefinitionSource::loadImage(std::u16string_view name) {
    return Arbor::Graphics::cachedImage(cache_, name) != nullptr;
}

bool CacheDefinitionSource::loadSound(std::u16string_view name) {
    return Arbor::Media::cachedSound(cache_, name) != nullptr;
}

bool CacheDefinitionSource::loadCursor(std::u16string_view name) {
    return Arbor::Graphics::cachedCursor(cache_, name) != nullptr;
}

void MemoryDefinitionSource::add(std::u16string name, std::vector<std::uint8_t> bytes) {
    entries_.emplace_back(std::move(name), std::move(bytes));
}

void MemoryDefinitionSource::addText(std::u16string name, std::string_view utf8) {
    add(std::move(name), std::vector<std::uint8_t>(utf8.begin(), utf8.end()));
}

const std::vector<std::uint8_t>* MemoryDefinitionSource::find(std::u16string_view name) const {
    for (const auto& [entryName, bytes] : entries_) {
        if (entryName == name) return &bytes;
    }
    return nullptr;
}

std::vector<std::u16string> MemoryDefinitionSource::entryNames() {
    std::vector<std::u16string> names;
    for (const auto& entry : entries_) names.push_back(entry.first);
    return names;
}

std::optional<std::vector<std::uint8_t>> MemoryDefinitionSource::readEntry(std::u16string_view name) {
    const auto* bytes = find(name);
    if (!bytes) return std::nullopt;
    return *bytes;
}

bool MemoryDefinitionSource::loadImage(std::u16string_view name) {
    const auto* bytes = find(name);
    return bytes && Arbor::Graphics::loadImageMemory(bytes->data(), bytes->size(), name) != nullptr;
}

bool MemoryDefinitionSource::loadSound(std::u16string_view name) {
    const auto* bytes = find(name);
    return bytes && Arbor::Media::loadSoundMemory(bytes->data(), bytes->size(), name) != nullptr;
}

bool MemoryDefinitionSource::loadCursor(std::u16string_view name) {
    const auto* bytes = find(name);
    if (!bytes) return false;
    return Arbor::Graphics::isAnimatedCursor(bytes->data(), bytes->size()) ||
           Arbor::Graphics::decodeCursorFile(bytes->data(), bytes->size()).has_value();
}

}  // namespace Quenta::Script
