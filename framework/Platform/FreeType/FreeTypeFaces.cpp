#include "framework/Platform/FreeType/FreeTypeFaces.h"

#include <algorithm>
#include <cstdlib>

#include <fontconfig/fontconfig.h>
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H
#include FT_TRUETYPE_TABLES_H

#include "framework/Text/Utf.h"

namespace Arbor::Platform::FreeType {

namespace {

// Collections name their faces in a 32-bit count; a malformed one must not make us
// try millions of faces.
constexpr FT_Long MaxFacesPerFile = 256;
constexpr std::size_t MaxRememberedMatches = 4096;
// The key part of a plain face match (no character asked for).
constexpr char32_t NoCharacter = 0xFFFFFFFF;

// The system language of the characters this program shows: an unknown or empty face
// name falls back to a face that can show Japanese.
constexpr const char* DefaultFamily = "sans-serif";
constexpr const char* DefaultLanguage = "ja";

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

struct CharSetDeleter {
    void operator()(FcCharSet* set) const { FcCharSetDestroy(set); }
};
using CharSetPtr = std::unique_ptr<FcCharSet, CharSetDeleter>;

int faceWeight(FT_Face face) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWeightClass >= 1 && os2->usWeightClass <= 1000) {
        return os2->usWeightClass;
    }
    return (face->style_flags & FT_STYLE_FLAG_BOLD) ? 700 : 400;
}

// Every family name a face gives itself (Latin and localised), folded.
std::vector<std::string> familyNames(FT_Face face) {
    std::vector<std::string> names;
    auto add = [&names](std::string name) {
        name = foldFamily(name);
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(std::move(name));
        }
    };
    if (face->family_name) add(face->family_name);
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    for (FT_UInt i = 0; i < count; ++i) {
        FT_SfntName entry{};
        if (FT_Get_Sfnt_Name(face, i, &entry) != 0) continue;
        if (entry.name_id != TT_NAME_ID_FONT_FAMILY && entry.name_id != TT_NAME_ID_TYPOGRAPHIC_FAMILY) continue;
        if (!entry.string) continue;
        if (entry.platform_id == TT_PLATFORM_MICROSOFT &&
            (entry.encoding_id == TT_MS_ID_UNICODE_CS || entry.encoding_id == TT_MS_ID_UCS_4)) {
            std::u16string text;
            for (FT_UInt at = 0; at + 1 < entry.string_len; at += 2) {
                text.push_back(static_cast<char16_t>((entry.string[at] << 8) | entry.string[at + 1]));
            }
            add(Text::toUtf8(text));
        } else if (entry.platform_id == TT_PLATFORM_MACINTOSH && entry.encoding_id == TT_MAC_ID_ROMAN) {
            std::string text(reinterpret_cast<const char*>(entry.string), entry.string_len);
            if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
                add(text);
            }
        }
    }
    return names;
}

// A face we can draw from: it has glyphs and either outlines or bitmap sizes.
bool usable(FT_Face face) {
    return face && face->num_glyphs > 0 && (FT_IS_SCALABLE(face) || face->num_fixed_sizes > 0);
}

PatternPtr queryPattern(const FaceQuery& query) {
    PatternPtr pattern(FcPatternCreate());
    if (!pattern) return nullptr;
    const std::string& family = query.family.empty() ? std::string(DefaultFamily) : query.family;
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>(DefaultLanguage));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(std::clamp(query.weight, 1, 1000)));
    FcPatternAddInteger(pattern.get(), FC_SLANT, query.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    return pattern;
}

std::optional<FaceSource> matchPattern(FcPattern* pattern, const FcCharSet* mustHave, char32_t character) {
    if (!FcConfigSubstitute(nullptr, pattern, FcMatchPattern)) return std::nullopt;
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(nullptr, pattern, &result));
    if (!match || result != FcResultMatch) return std::nullopt;
    if (mustHave) {
        FcCharSet* has = nullptr;
        if (FcPatternGetCharSet(match.get(), FC_CHARSET, 0, &has) != FcResultMatch || !has ||
            !FcCharSetHasChar(has, static_cast<FcChar32>(character))) {
            return std::nullopt;
        }
    }
    FcChar8* file = nullptr;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file) return std::nullopt;
    FaceSource source;
    source.file = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) == FcResultMatch) source.index = index & 0xFFFF;
    return source;
}

}  // namespace

std::string foldFamily(const std::string& family) {
    std::string folded;
    folded.reserve(family.size());
    for (char c : family) folded.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    return folded;
}

OpenFace::OpenFace(std::shared_ptr<FaceCatalog> catalog, FT_Face face, FaceSource source)
    : catalog_(std::move(catalog)), face_(face), source_(std::move(source)) {}

OpenFace::~OpenFace() { catalog_->close(face_); }

std::shared_ptr<FaceCatalog> FaceCatalog::create() {
    std::shared_ptr<FaceCatalog> catalog(new FaceCatalog());
    if (FT_Init_FreeType(&catalog->library_) != 0) {
        catalog->library_ = nullptr;
        return nullptr;
    }
    catalog->fontconfigReady_ = FcInit() == FcTrue;
    return catalog;
}

FaceCatalog::~FaceCatalog() {
    if (library_) FT_Done_FreeType(library_);
}

std::optional<FaceSource> FaceCatalog::choose(const FaceQuery& query) {
    std::lock_guard lock(mutex_);
    if (!query.family.empty()) {
        const std::string wanted = foldFamily(query.family);
        const PrivateFace* best = nullptr;
        int bestScore = 0;
        for (const PrivateFace& entry : privateFaces_) {
            if (std::find(entry.families.begin(), entry.families.end(), wanted) == entry.families.end()) continue;
            const int score = std::abs(entry.source.weight - query.weight) + (entry.source.italic != query.italic ? 1000 : 0);
            if (!best || score < bestScore) {
                best = &entry;
                bestScore = score;
            }
        }
        if (best) return best->source;
    }
    if (!fontconfigReady_) return std::nullopt;
    const MatchKey key{foldFamily(query.family), query.weight, query.italic, NoCharacter};
    if (auto known = matches_.find(key); known != matches_.end()) return known->second;
    PatternPtr pattern = queryPattern(query);
    if (!pattern) return std::nullopt;
    std::optional<FaceSource> found = matchPattern(pattern.get(), nullptr, 0);
    remember(key, found);
    return found;
}

void FaceCatalog::remember(const MatchKey& key, const std::optional<FaceSource>& found) {
    if (matches_.size() >= MaxRememberedMatches) matches_.clear();
    matches_.emplace(key, found);
}

std::optional<FaceSource> FaceCatalog::fallback(const FaceQuery& query, char32_t character) {
    std::lock_guard lock(mutex_);
    if (!fontconfigReady_ || character > 0x10FFFF) return std::nullopt;
    const MatchKey key{foldFamily(query.family), query.weight, query.italic, character};
    if (auto known = matches_.find(key); known != matches_.end()) return known->second;
    PatternPtr pattern = queryPattern(query);
    CharSetPtr wanted(FcCharSetCreate());
    if (!pattern || !wanted) return std::nullopt;
    FcCharSetAddChar(wanted.get(), static_cast<FcChar32>(character));
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, wanted.get());
    std::optional<FaceSource> found = matchPattern(pattern.get(), wanted.get(), character);
    remember(key, found);
    return found;
}

FT_Face FaceCatalog::openLocked(const FaceSource& source) {
    if (!library_) return nullptr;
    FT_Face face = nullptr;
    FT_Error error = 0;
    if (source.memory) {
        error = FT_New_Memory_Face(library_, source.memory->data(), static_cast<FT_Long>(source.memory->size()),
                                   source.index, &face);
    } else {
        error = FT_New_Face(library_, source.file.c_str(), source.index, &face);
    }
    if (error != 0) return nullptr;
    if (!usable(face)) {
        FT_Done_Face(face);
        return nullptr;
    }
    return face;
}

std::unique_ptr<OpenFace> FaceCatalog::open(const FaceSource& source) {
    std::lock_guard lock(mutex_);
    FT_Face face = openLocked(source);
    if (!face) return nullptr;
    // The face's own weight and slant decide what is synthesised; a match from
    // fontconfig reports the asked ones instead.
    FaceSource opened = source;
    opened.weight = faceWeight(face);
    opened.italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    return std::make_unique<OpenFace>(shared_from_this(), face, std::move(opened));
}

void FaceCatalog::close(FT_Face face) {
    std::lock_guard lock(mutex_);
    if (face) FT_Done_Face(face);
}

int FaceCatalog::addPrivate(std::span<const std::uint8_t> data, std::uint64_t& id) {
    if (data.empty()) return 0;
    auto bytes = std::make_shared<const std::vector<std::uint8_t>>(data.begin(), data.end());
    std::lock_guard lock(mutex_);
    FaceSource first;
    first.memory = bytes;
    FT_Face face = openLocked(first);
    if (!face) return 0;
    const FT_Long faces = std::clamp<FT_Long>(face->num_faces, 1, MaxFacesPerFile);
    FT_Done_Face(face);

    const std::uint64_t registration = nextId_++;
    int added = 0;
    for (FT_Long index = 0; index < faces; ++index) {
        FaceSource source;
        source.memory = bytes;
        source.index = static_cast<int>(index);
        FT_Face each = openLocked(source);
        if (!each) continue;
        PrivateFace entry;
        entry.id = registration;
        entry.families = familyNames(each);
        source.weight = faceWeight(each);
        source.italic = (each->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
        entry.source = source;
        FT_Done_Face(each);
        if (entry.families.empty()) continue;
        privateFaces_.push_back(std::move(entry));
        ++added;
    }
    if (added > 0) id = registration;
    return added;
}

void FaceCatalog::removePrivate(std::uint64_t id) {
    std::lock_guard lock(mutex_);
    std::erase_if(privateFaces_, [id](const PrivateFace& entry) { return entry.id == id; });
}

std::vector<std::string> FaceCatalog::privateFamilies(std::uint64_t id) {
    std::lock_guard lock(mutex_);
    std::vector<std::string> families;
    for (const PrivateFace& entry : privateFaces_) {
        if (entry.id == id) families.insert(families.end(), entry.families.begin(), entry.families.end());
    }
    return families;
}

}  // namespace Arbor::Platform::FreeType

// fontconfig 2.14 loses a few bytes while parsing its own configuration files, once per
// process. Its frames carry no frame pointers, so the leak checker of sanitised builds
// records only the allocation inside the library and can tell the parsing apart by
// nothing but the library's name. Our own fontconfig objects are held by owning
// pointers (PatternPtr, CharSetPtr) for that reason.
#if defined(__SANITIZE_ADDRESS__)
#define ARBOR_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ARBOR_LEAK_CHECKED 1
#endif
#endif
#if defined(ARBOR_LEAK_CHECKED)
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
