#pragma once
// A character's files by name: plain files under its data folder first, then entries of
// its packages, decoded once and cached per kind.
//
// Lookup of a name (for every kind): a cached object if present; else the plain file
// `dataFolder\name` when it exists; else readFile(`dataFolder\name`), which walks up the
// folders trying the package that stands for each one (`folder.qnd`). A decoder turns
// the bytes into the object; a null result is not cached.
//
// How other modules plug in a kind (sounds, images, cursors, later fonts): each kind has
// a ResourceSlot. The owning module writes a small free function next to its decoder
// and calls the template `cached` with its slot, its type and its decoder:
//
//   // framework/Media/SoundResource.cpp
//   std::shared_ptr<const WaveSound> cachedSound(Arbor::Secure::ResourceCache& cache,
//                                                std::u16string_view name) {
//       return cache.cached<const WaveSound>(Arbor::Secure::ResourceSlot::Sound, name,
//           [](const Arbor::Secure::ResourceBlob& blob) -> std::shared_ptr<const WaveSound> {
//               return parseWave(blob.bytes);  // null when it does not decode
//           });
//   }
//
// A slot holds one type: the first type stored in a slot fixes it, and asking the same
// slot for another type gives null. Objects are shared: the cache keeps one reference
// and callers may keep theirs; whatever must be released with the character (registered
// fonts, cursor handles) is released by the type's destructor, which runs when the last
// reference goes, normally with the cache.
//
// Thread safety: every operation may be called from any thread. Decoders run without
// the cache's locks held; when two threads decode the same name at once, the first
// stored result wins and both callers get it.
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "framework/Secure/PackageReader.h"

namespace Arbor::Secure {

// The package password of every character: the program's display name.
inline constexpr std::u16string_view kPackagePassword = u"タヴィゾー";

enum class ResourceSlot : int {
    File,       // raw bytes (this module)
    TextLines,  // UTF-8 text as lines (this module)
    Font,       // font files (this module holds the bytes; the glyph module may take it over)
    Sound,      // filled by the audio module
    Image,      // filled by the image module
    Cursor,     // filled by the image module
    Count
};

// The bytes a decoder gets, with where they came from.
struct ResourceBlob {
    std::u16string path;  // dataFolder\name, system form
    bool onDisk = false;  // true: the plain file at `path`; false: a package entry
    std::vector<std::uint8_t> bytes;
};

// A font file as the character supplies it. Registering it for glyph rendering is the
// text module's business.
struct FontFile {
    std::u16string name;
    std::vector<std::uint8_t> bytes;
};

class ResourceCache {
public:
    // dataFolder: the character's folder path (see dataFolderFor). The character's own
    // package, dataFolder + ".qnd", is opened now when it exists.
    ResourceCache(std::u16string dataFolder, std::u16string password);
    ~ResourceCache();
    ResourceCache(const ResourceCache&) = delete;
    ResourceCache& operator=(const ResourceCache&) = delete;

    // programDir\Data\characterName.
    static std::u16string dataFolderFor(std::u16string_view programDir, std::u16string_view characterName);

    const std::u16string& dataFolder() const { return dataFolder_; }
    const std::u16string& password() const { return password_; }

    // A file under the data folder looked up in packages only (plain files are not
    // consulted here): the package of the path's folder, then of each folder above it
    // up to the data folder's own package, with the entry name growing by one folder
    // each step. Empty when not found.
    std::vector<std::uint8_t> readFile(std::u16string_view fullPath);

    // The plain files in a folder (sorted by name), then for every ".qnd" file among
    // them (extension in any case) the entries of that package, then the entries of the
    // package standing for the folder itself (so a character that exists only as a
    // package lists its files). A name appears once.
    std::vector<std::u16string> listFiles(std::u16string_view folder);

    // The bytes of a name, not cached: the plain file, else readFile.
    std::optional<ResourceBlob> load(std::u16string_view name);

    // Built-in kinds.
    std::shared_ptr<const std::vector<std::uint8_t>> file(std::u16string_view name);
    std::shared_ptr<const std::vector<std::u16string>> textLines(std::u16string_view name);
    std::shared_ptr<const FontFile> loadFont(std::u16string_view name);

    // The cached object of `slot` under `name`, decoding it on first use.
    // Decoder: std::shared_ptr<T>(const ResourceBlob&), null on failure.
    template <class T, class Decoder>
    std::shared_ptr<T> cached(ResourceSlot slot, std::u16string_view name, Decoder&& decode) {
        const std::type_index type(typeid(T));
        if (auto hit = find(slot, type, name)) return castBack<T>(std::move(hit));
        if (!acceptsType(slot, type)) return nullptr;
        auto blob = load(name);
        if (!blob) return nullptr;
        std::shared_ptr<T> object = decode(static_cast<const ResourceBlob&>(*blob));
        if (!object) return nullptr;
        return castBack<T>(store(slot, type, name, std::shared_ptr<const void>(std::move(object))));
    }

    // Whether `slot` holds an object under `name` (for tests and diagnostics).
    bool isCached(ResourceSlot slot, std::u16string_view name) const;

    // The package reader registered for a folder path, if any.
    PackageReader* packageFor(std::u16string_view folder);

private:
    struct Slot {
        std::optional<std::type_index> type;
        std::unordered_map<std::u16string, std::shared_ptr<const void>> items;
    };

    template <class T>
    static std::shared_ptr<T> castBack(std::shared_ptr<const void> p) {
        return std::static_pointer_cast<T>(std::const_pointer_cast<void>(std::move(p)));
    }

    std::shared_ptr<const void> find(ResourceSlot slot, std::type_index type, std::u16string_view name) const;
    bool acceptsType(ResourceSlot slot, std::type_index type) const;
    // Keeps the object unless another was stored meanwhile (or the slot holds another
    // type, then null); returns what the slot now holds.
    std::shared_ptr<const void> store(ResourceSlot slot, std::type_index type, std::u16string_view name,
                                      std::shared_ptr<const void> object);
    PackageReader* openPackageFile(const std::u16string& folder, const std::u16string& packagePath);

    std::u16string dataFolder_;
    std::u16string password_;

    mutable std::mutex packagesMutex_;
    // Folder path -> its package; a null reader marks a package file that exists but
    // cannot be read, so it is not parsed again on every lookup.
    std::map<std::u16string, std::unique_ptr<PackageReader>> packages_;

    mutable std::mutex slotsMutex_;
    std::array<Slot, static_cast<std::size_t>(ResourceSlot::Count)> slots_;
};

}  // namespace Arbor::Secure
