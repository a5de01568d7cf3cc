#pragma once
// Where FreeType faces come from: fonts registered privately from memory (consulted
// first, seen by this process only) and the fonts fontconfig knows. One catalog per
// glyph service; it owns the FreeType library. Face creation and destruction are
// serialised here because FreeType requires it; a face itself is used by one font
// under that font's own lock.
#include <cstdint>
#include <memory>
#include <mutex>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace Arbor::Platform::FreeType {

// Where one face lives: a file fontconfig named, or the bytes of a private font.
struct FaceSource {
    std::string file;
    std::shared_ptr<const std::vector<std::uint8_t>> memory;
    int index = 0;
    // The face's own weight (OpenType scale) and slant, known once it is open or
    // registered: bold and italic are synthesised only when the face lacks them.
    int weight = 400;
    bool italic = false;
    bool sameFaceAs(const FaceSource& other) const {
        return file == other.file && memory == other.memory && index == other.index;
    }
};

class FaceCatalog;

// An open face; closing goes through the catalog. Keeps private bytes alive.
class OpenFace {
public:
    OpenFace(std::shared_ptr<FaceCatalog> catalog, FT_Face face, FaceSource source);
    ~OpenFace();
    OpenFace(const OpenFace&) = delete;
    OpenFace& operator=(const OpenFace&) = delete;
    FT_Face face() const { return face_; }
    const FaceSource& source() const { return source_; }

private:
    std::shared_ptr<FaceCatalog> catalog_;
    FT_Face face_;
    FaceSource source_;
};

// What a face is asked for by.
struct FaceQuery {
    std::string family;  // UTF-8; empty: the default face
    int weight = 400;
    bool italic = false;
};

class FaceCatalog : public std::enable_shared_from_this<FaceCatalog> {
public:
    static std::shared_ptr<FaceCatalog> create();
    ~FaceCatalog();
    FaceCatalog(const FaceCatalog&) = delete;
    FaceCatalog& operator=(const FaceCatalog&) = delete;

    // The face for a request: a private font of that family, else fontconfig's best
    // match (which prefers Japanese-capable faces when the family is unknown or empty).
    std::optional<FaceSource> choose(const FaceQuery& query);
    // A face that has the character, for one the chosen face lacks.
    std::optional<FaceSource> fallback(const FaceQuery& query, char32_t character);
    std::unique_ptr<OpenFace> open(const FaceSource& source);

    // Registers every face of the bytes; 0 when they hold no usable face.
    // On success the registration's id is in `id`.
    int addPrivate(std::span<const std::uint8_t> data, std::uint64_t& id);
    void removePrivate(std::uint64_t id);
    // The family names (folded) the faces of a registration give themselves.
    std::vector<std::string> privateFamilies(std::uint64_t id);

private:
    friend class OpenFace;
    FaceCatalog() = default;
    void close(FT_Face face);
    FT_Face openLocked(const FaceSource& source);
    using MatchKey = std::tuple<std::string, int, bool, char32_t>;
    void remember(const MatchKey& key, const std::optional<FaceSource>& found);

    struct PrivateFace {
        std::uint64_t id = 0;
        std::vector<std::string> families;  // lower-cased, every name the face gives itself
        FaceSource source;
    };

    std::mutex mutex_;
    FT_Library library_ = nullptr;
    bool fontconfigReady_ = false;
    std::vector<PrivateFace> privateFaces_;
    std::uint64_t nextId_ = 1;
    // fontconfig's answers, which cost far more than opening a face: by family, weight
    // and slant, and for fallbacks also by character. Bounded; cleared when full.
    std::map<MatchKey, std::optional<FaceSource>> matches_;
};

// Family names compare without regard to ASCII case, as the system's face names do.
std::string foldFamily(const std::string& family);

}  // namespace Arbor::Platform::FreeType
