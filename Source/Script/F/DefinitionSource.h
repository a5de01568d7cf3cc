#pragma once
// Where a definition comes from: the entries of a character's data source (its folder
// and packages, or memory for tests and fuzzing) and the loading of the image, sound
// and cursor files the records name.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Arbor::Secure {
class ResourceCache;
}

namespace Quenta::Script {

class DefinitionSource {
public:
    virtual ~DefinitionSource() = default;
    // Every entry name, in the order the source lists them.
    virtual std::vector<std::u16string> entryNames() = 0;
    // The bytes of one entry, or nothing when it cannot be read.
    virtual std::optional<std::vector<std::uint8_t>> readEntry(std::u16string_view name) = 0;
    // Each loads the named file for the character (into its resource cache where there
    // is one); false when the file is missing or does not decode.
    virtual bool loadImage(std::u16string_view name) = 0;
    virtual bool loadSound(std::u16string_view name) = 0;
    virtual bool loadCursor(std::u16string_view name) = 0;
};

// A character's folder and packages, through its resource cache.
class CacheDefinitionSource final : public DefinitionSource {
public:
    explicit CacheDefinitionSource(Arbor::Secure::ResourceCache& cache) : cache_(cache) {}
    std::vector<std::u16string> entryNames() override;
    std::optional<std::vector<std::uint8_t>> readEntry(std::u16string_view name) override;
    bool loadImage(std::u16string_view name) override;
    bool loadSound(std::u16string_view name) override;
    bool loadCursor(std::u16string_view name) override;

private:
    Arbor::Secure::ResourceCache& cache_;
};

// Entries held in memory, listed in insertion order. Images, sounds and cursors must
// decode (nothing is kept).
class MemoryDefinitionSource final : public DefinitionSource {
public:
    void add(std::u16string name, std::vector<std::uint8_t> bytes);
    void addText(std::u16string name, std::string_view utf8);

    std::vector<std::u16string> entryNames() override;
    std::optional<std::vector<std::uint8_t>> readEntry(std::u16string_view name) override;
    bool loadImage(std::u16string_view name) override;
    bool loadSound(std::u16string_view name) override;
    bool loadCursor(std::u16string_view name) override;

private:
    const std::vector<std::uint8_t>* find(std::u16string_view name) const;
    std::vector<std::pair<std::u16string, std::vector<std::uint8_t>>> entries_;
};

}  // namespace Quenta::Script
