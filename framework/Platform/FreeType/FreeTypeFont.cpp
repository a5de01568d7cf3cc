#include "framework/Platform/FreeType/FreeTypeFont.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include "framework/Text/Utf.h"

namespace Arbor::Platform::FreeType {

namespace {

constexpr int DefaultEmPixels = 16;  // a request of height 0
constexpr int MaxEmPixels = 1024;
// No glyph of a sane font at MaxEmPixels comes near this; a malformed one must not
// make us allocate without bound.
constexpr std::size_t MaxGlyphPixels = std::size_t{16} << 20;
constexpr std::size_t MaxCachedGlyphs = 2048;
// A malformed font may declare any extents; text layout must never see sizes beyond
// what a sane font gives at MaxEmPixels, nor negative ones.
constexpr int MaxMetric = 4 * MaxEmPixels;
constexpr int BoldWeight = 600;
// Text mixing many scripts opens one fallback face per script; past this many, further
// characters draw the missing-glyph box instead of opening more faces.
constexpr std::size_t MaxFacesPerFont = 16;

// Ascent and descent in font units as the system's text metrics take them: the
// OS/2 Windows figures when present, else the horizontal header.
void designExtent(FT_Face face, long& ascent, long& descent) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        ascent = os2->usWinAscent;
        descent = os2->usWinDescent;
        return;
    }
    ascent = face->ascender;
    descent = -static_cast<long>(face->descender);
}

bool sizeFace(FT_Face face, int emPixels) {
    if (FT_IS_SCALABLE(face)) return FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(emPixels)) == 0;
    if (face->num_fixed_sizes <= 0 || !face->available_sizes) return false;
    int best = 0;
    for (int i = 1; i < face->num_fixed_sizes; ++i) {
        if (std::abs(face->available_sizes[i].height - emPixels) <
            std::abs(face->available_sizes[best].height - emPixels)) {
            best = i;
        }
    }
    return FT_Select_Size(face, best) == 0;
}

// The em size in pixels a request asks for; a positive height is the cell height.
int emPixelsFor(FT_Face face, int height) {
    if (height == 0) return DefaultEmPixels;
    if (height < 0) return std::clamp(-static_cast<long>(height), 1L, static_cast<long>(MaxEmPixels));
    height = std::min(height, MaxEmPixels);
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) return std::clamp(height, 1, MaxEmPixels);
    long ascent = 0;
    long descent = 0;
    designExtent(face, ascent, descent);
    if (ascent + descent <= 0) return std::clamp(height, 1, MaxEmPixels);
    const double em = static_cast<double>(height) * face->units_per_EM / static_cast<double>(ascent + descent);
    return std::clamp(static_cast<int>(std::lround(em)), 1, MaxEmPixels);
}

int scaled(long units, int emPixels, FT_UShort unitsPerEm) {
    return static_cast<int>(std::lround(static_cast<double>(units) * emPixels / unitsPerEm));
}

// FreeType's coverage (0 ... grays - 1) in the asked format's levels.
std::uint8_t level(unsigned value, unsigned grays, GlyphFormat format) {
    const unsigned top = grays > 1 ? grays - 1 : 1;
    value = std::min(value, top);
    if (format == GlyphFormat::Monochrome) return value * 2 >= top ? 1 : 0;
    return static_cast<std::uint8_t>((value * 64 + top / 2) / top);
}

bool copyBitmap(const FT_Bitmap& bitmap, GlyphFormat format, Glyph& glyph) {
    const std::size_t width = bitmap.width;
    const std::size_t rows = bitmap.rows;
    if (width == 0 || rows == 0) return true;
    if (width > MaxGlyphPixels / rows || !bitmap.buffer) return false;
    const std::size_t pitch = static_cast<std::size_t>(std::abs(bitmap.pitch));
    const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    if (!mono && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return false;
    if (pitch < (mono ? (width + 7) / 8 : width)) return false;
    glyph.coverage.assign(width * rows, 0);
    for (std::size_t y = 0; y < rows; ++y) {
        // A negative pitch stores the rows bottom-up.
        const std::size_t memoryRow = bitmap.pitch >= 0 ? y : rows - 1 - y;
        const unsigned char* row = bitmap.buffer + memoryRow * pitch;
        std::uint8_t* out = glyph.coverage.data() + y * width;
        for (std::size_t x = 0; x < width; ++x) {
            if (mono) {
                const bool set = (row[x / 8] >> (7 - x % 8)) & 1;
                out[x] = set ? static_cast<std::uint8_t>(maxCoverage(format)) : 0;
            } else {
                out[x] = level(row[x], bitmap.num_grays, format);
            }
        }
    }
    glyph.metrics.blackBoxWidth = static_cast<int>(width);
    glyph.metrics.blackBoxHeight = static_cast<int>(rows);
    return true;
}

}  // namespace

FreeTypeFont::FreeTypeFont(std::shared_ptr<FaceCatalog> catalog, FaceQuery query, int emPixels)
    : catalog_(std::move(catalog)), query_(std::move(query)), emPixels_(emPixels) {}

std::unique_ptr<FreeTypeFont> FreeTypeFont::create(std::shared_ptr<FaceCatalog> catalog, const FontRequest& request) {
    if (!catalog) return nullptr;
    FaceQuery query;
    // The system keeps 31 characters of a face name.
    query.family = Text::toUtf8(std::u16string_view(request.faceName).substr(0, 31));
    query.weight = request.weight <= 0 ? 400 : std::clamp(request.weight, 1, 1000);
    query.italic = request.italic;
    std::optional<FaceSource> source = catalog->choose(query);
    std::unique_ptr<OpenFace> face = source ? catalog->open(*source) : nullptr;
    if (!face && !query.family.empty()) {
        // The named face is there but unusable: take the default one.
        FaceQuery fallbackQuery = query;
        fallbackQuery.family.clear();
        source = catalog->choose(fallbackQuery);
        face = source ? catalog->open(*source) : nullptr;
    }
    if (!face) return nullptr;
    const int em = emPixelsFor(face->face(), request.height);
    std::unique_ptr<FreeTypeFont> font(new FreeTypeFont(std::move(catalog), std::move(query), em));
    if (!font->addFace(std::move(face))) return nullptr;
    font->measure(request);
    return font;
}

bool FreeTypeFont::addFace(std::unique_ptr<OpenFace> face) {
    if (!face || !sizeFace(face->face(), emPixels_)) return false;
    faces_.push_back(std::move(face));
    return true;
}

void FreeTypeFont::measure(const FontRequest& request) {
    FT_Face face = faces_.front()->face();
    FontMetrics& m = metrics_;
    if (FT_IS_SCALABLE(face) && face->units_per_EM > 0) {
        const FT_UShort units = face->units_per_EM;
        long ascent = 0;
        long descent = 0;
        designExtent(face, ascent, descent);
        m.ascent = scaled(ascent, emPixels_, units);
        m.descent = scaled(descent, emPixels_, units);
        const long hheaHeight = face->ascender - face->descender;
        const long lineGap = face->height - hheaHeight;
        m.externalLeading = std::max(0, scaled(lineGap - ((ascent + descent) - hheaHeight), emPixels_, units));
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        m.averageCharWidth = os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0
                                 ? scaled(os2->xAvgCharWidth, emPixels_, units)
                                 : (emPixels_ + 1) / 2;
        m.maxCharWidth = scaled(face->max_advance_width, emPixels_, units);
        m.underlinePosition = scaled(-static_cast<long>(face->underline_position), emPixels_, units);
        m.underlineThickness = std::max(1, scaled(face->underline_thickness, emPixels_, units));
    } else {
        const FT_Size_Metrics& size = face->size->metrics;
        m.ascent = static_cast<int>((size.ascender + 63) >> 6);
        m.descent = static_cast<int>((-size.descender + 63) >> 6);
        m.averageCharWidth = (emPixels_ + 1) / 2;
        m.maxCharWidth = static_cast<int>((size.max_advance + 63) >> 6);
        m.underlinePosition = std::max(1, m.descent / 2);
        m.underlineThickness = std::max(1, emPixels_ / 16);
    }
    const auto sane = [](int value, int low = 0) { return std::clamp(value, low, MaxMetric); };
    m.ascent = sane(m.ascent);
    m.descent = sane(m.descent);
    m.externalLeading = sane(m.externalLeading);
    m.averageCharWidth = sane(m.averageCharWidth);
    m.maxCharWidth = sane(m.maxCharWidth);
    m.underlinePosition = sane(m.underlinePosition, -MaxMetric);
    m.underlineThickness = sane(m.underlineThickness, 1);
    m.height = m.ascent + m.descent;
    m.internalLeading = std::max(0, m.height - emPixels_);
    m.weight = query_.weight;
    m.italic = request.italic;
    m.underline = request.underline;
    m.faceName = Text::fromUtf8(face->family_name ? face->family_name : "");
}

std::size_t FreeTypeFont::slotFor(char32_t character) {
    if (FT_Get_Char_Index(faces_.front()->face(), character) != 0) return 0;
    if (auto known = slotOf_.find(character); known != slotOf_.end()) return known->second;
    std::size_t slot = 0;
    if (std::optional<FaceSource> source = catalog_->fallback(query_, character)) {
        for (std::size_t i = 0; i < faces_.size(); ++i) {
            if (faces_[i]->source().sameFaceAs(*source)) slot = i;
        }
        if (slot == 0 && faces_.size() < MaxFacesPerFont && !faces_.front()->source().sameFaceAs(*source) &&
            addFace(catalog_->open(*source))) {
            slot = faces_.size() - 1;
        }
        if (slot != 0 && FT_Get_Char_Index(faces_[slot]->face(), character) == 0) slot = 0;
    }
    slotOf_.emplace(character, slot);
    return slot;
}

std::shared_ptr<const Glyph> FreeTypeFont::glyph(char32_t character, GlyphFormat format) {
    if (format != GlyphFormat::Monochrome && format != GlyphFormat::Gray65) return nullptr;
    const std::uint64_t key = (static_cast<std::uint64_t>(character) << 8) | static_cast<std::uint64_t>(format);
    std::lock_guard lock(mutex_);
    if (auto hit = cache_.find(key); hit != cache_.end()) return hit->second;
    std::shared_ptr<const Glyph> made = render(character, format);
    if (cache_.size() >= MaxCachedGlyphs) cache_.clear();
    cache_.emplace(key, made);
    return made;
}

std::shared_ptr<const Glyph> FreeTypeFont::render(char32_t character, GlyphFormat format) {
    const std::size_t slot = slotFor(character);
    const OpenFace& open = *faces_[slot];
    FT_Face face = open.face();
    // A character no face has draws the chosen face's missing-glyph box, as the
    // system's outline call does.
    const FT_UInt index = FT_Get_Char_Index(face, character);
    const bool mono = format == GlyphFormat::Monochrome;
    if (FT_Load_Glyph(face, index, mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL) != 0) return nullptr;
    FT_GlyphSlot glyphSlot = face->glyph;
    if (query_.italic && !open.source().italic && glyphSlot->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_GlyphSlot_Oblique(glyphSlot);
    }
    if (query_.weight >= BoldWeight && open.source().weight < BoldWeight) FT_GlyphSlot_Embolden(glyphSlot);
    if (glyphSlot->format != FT_GLYPH_FORMAT_BITMAP &&
        FT_Render_Glyph(glyphSlot, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) {
        return nullptr;
    }
    auto glyph = std::make_shared<Glyph>();
    glyph->format = format;
    glyph->metrics.cellIncX = static_cast<int>((glyphSlot->advance.x + 32) >> 6);
    glyph->metrics.cellIncY = 0;
    if (!copyBitmap(glyphSlot->bitmap, format, *glyph)) return nullptr;
    if (!glyph->coverage.empty()) {
        glyph->metrics.originX = glyphSlot->bitmap_left;
        glyph->metrics.originY = glyphSlot->bitmap_top;
    }
    return glyph;
}

}  // namespace Arbor::Platform::FreeType
