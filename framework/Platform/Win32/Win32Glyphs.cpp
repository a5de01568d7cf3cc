// Glyphs from GDI: a logical font selected into a memory DC compatible with the
// screen, its text metrics, and glyph outlines rendered by the system in the asked
// format. Private fonts are registered for this process only.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "framework/Platform/Glyphs.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/Win32/Win32Services.h"
#include "framework/Platform/Win32/Win32Text.h"

namespace Arbor::Platform {

namespace {

constexpr int MaxPixelHeight = 1024;
constexpr std::size_t MaxCachedGlyphs = 2048;
constexpr std::size_t MaxGlyphPixels = std::size_t{16} << 20;

// Unpacks the system's bitmap (rows padded to 4 bytes; one bit per pixel, or one
// byte of 0 ... 64) into one coverage byte per pixel.
bool unpack(const std::vector<BYTE>& bits, GlyphFormat format, Glyph& glyph) {
    const std::size_t width = glyph.metrics.blackBoxWidth;
    const std::size_t rows = glyph.metrics.blackBoxHeight;
    if (width == 0 || rows == 0 || width > MaxGlyphPixels / rows) return false;
    const bool mono = format == GlyphFormat::Monochrome;
    const std::size_t pitch = mono ? ((width + 31) / 32) * 4 : ((width + 3) / 4) * 4;
    if (bits.size() < pitch * rows) return false;
    glyph.coverage.assign(width * rows, 0);
    for (std::size_t y = 0; y < rows; ++y) {
        const BYTE* row = bits.data() + y * pitch;
        std::uint8_t* out = glyph.coverage.data() + y * width;
        for (std::size_t x = 0; x < width; ++x) {
            out[x] = mono ? static_cast<std::uint8_t>((row[x / 8] >> (7 - x % 8)) & 1)
                          : static_cast<std::uint8_t>(std::min<BYTE>(row[x], 64));
        }
    }
    return true;
}

class Win32GlyphFont : public GlyphFont {
public:
    Win32GlyphFont(HDC dc, HFONT font, HGDIOBJ previous) : dc_(dc), font_(font), previous_(previous) {}
    ~Win32GlyphFont() override {
        SelectObject(dc_, previous_);
        DeleteObject(font_);
        DeleteDC(dc_);
    }

    static std::unique_ptr<Win32GlyphFont> create(const FontRequest& request) {
        LOGFONTW logFont{};
        logFont.lfHeight = std::clamp(request.height, -MaxPixelHeight, MaxPixelHeight);
        logFont.lfWeight = request.weight <= 0 ? FW_NORMAL : std::clamp(request.weight, 1, 1000);
        logFont.lfItalic = request.italic ? TRUE : FALSE;
        logFont.lfUnderline = request.underline ? TRUE : FALSE;
        logFont.lfCharSet = DEFAULT_CHARSET;
        logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
        logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        logFont.lfQuality = CLEARTYPE_NATURAL_QUALITY;
        logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
        const std::size_t length = std::min<std::size_t>(request.faceName.size(), LF_FACESIZE - 1);
        std::copy_n(request.faceName.data(), length, logFont.lfFaceName);

        HFONT font = CreateFontIndirectW(&logFont);
        if (!font) return nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        if (!dc) {
            DeleteObject(font);
            return nullptr;
        }
        HGDIOBJ previous = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        auto made = std::make_unique<Win32GlyphFont>(dc, font, previous);
        if (!made->measure(request)) return nullptr;
        return made;
    }

    const FontMetrics& metrics() const override { return metrics_; }

    std::shared_ptr<const Glyph> glyph(char32_t character, GlyphFormat format) override {
        if (format != GlyphFormat::Monochrome && format != GlyphFormat::Gray65) return nullptr;
        // The outline call takes one UTF-16 code unit.
        if (character > 0xFFFF) return nullptr;
        const std::uint32_t key = (static_cast<std::uint32_t>(character) << 8) | static_cast<std::uint32_t>(format);
        std::lock_guard lock(mutex_);
        if (auto hit = cache_.find(key); hit != cache_.end()) return hit->second;
        std::shared_ptr<const Glyph> made = render(static_cast<UINT>(character), format);
        if (cache_.size() >= MaxCachedGlyphs) cache_.clear();
        cache_.emplace(key, made);
        return made;
    }

private:
    bool measure(const FontRequest& request) {
        TEXTMETRICW text{};
        if (!GetTextMetricsW(dc_, &text)) return false;
        metrics_.height = text.tmHeight;
        metrics_.ascent = text.tmAscent;
        metrics_.descent = text.tmDescent;
        metrics_.internalLeading = text.tmInternalLeading;
        metrics_.externalLeading = text.tmExternalLeading;
        metrics_.averageCharWidth = text.tmAveCharWidth;
        metrics_.maxCharWidth = text.tmMaxCharWidth;
        metrics_.weight = text.tmWeight;
        metrics_.italic = text.tmItalic != 0;
        metrics_.underline = request.underline;
        metrics_.underlinePosition = std::max(1, static_cast<int>(text.tmDescent / 2));
        metrics_.underlineThickness = std::max(1, static_cast<int>(text.tmHeight / 16));
        const UINT outlineSize = GetOutlineTextMetricsW(dc_, 0, nullptr);
        if (outlineSize >= sizeof(OUTLINETEXTMETRICW)) {
            std::vector<std::uint8_t> buffer(outlineSize);
            auto* outline = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
            if (GetOutlineTextMetricsW(dc_, outlineSize, outline) != 0) {
                metrics_.underlinePosition = -outline->otmsUnderscorePosition;
                metrics_.underlineThickness = std::max(1, static_cast<int>(outline->otmsUnderscoreSize));
            }
        }
        wchar_t face[LF_FACESIZE] = {};
        if (GetTextFaceW(dc_, LF_FACESIZE, face) > 0) {
            face[LF_FACESIZE - 1] = L'\0';
            metrics_.faceName = Win32::narrowed(face, std::wcslen(face));
        }
        return true;
    }

    std::shared_ptr<const Glyph> render(UINT character, GlyphFormat format) {
        const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
        const UINT kind = format == GlyphFormat::Monochrome ? GGO_BITMAP : GGO_GRAY8_BITMAP;
        GLYPHMETRICS outline{};
        const DWORD size = GetGlyphOutlineW(dc_, character, kind, &outline, 0, nullptr, &identity);
        if (size == GDI_ERROR) return nullptr;
        auto glyph = std::make_shared<Glyph>();
        glyph->format = format;
        glyph->metrics.cellIncX = outline.gmCellIncX;
        glyph->metrics.cellIncY = outline.gmCellIncY;
        // No ink (a space): the system still reports a 1 x 1 box; keep it empty.
        if (size == 0) return glyph;
        std::vector<BYTE> bits(size);
        if (GetGlyphOutlineW(dc_, character, kind, &outline, size, bits.data(), &identity) == GDI_ERROR) return nullptr;
        glyph->metrics.blackBoxWidth = static_cast<int>(outline.gmBlackBoxX);
        glyph->metrics.blackBoxHeight = static_cast<int>(outline.gmBlackBoxY);
        glyph->metrics.originX = outline.gmptGlyphOrigin.x;
        glyph->metrics.originY = outline.gmptGlyphOrigin.y;
        if (!unpack(bits, format, *glyph)) return nullptr;
        return glyph;
    }

    HDC dc_;
    HFONT font_;
    HGDIOBJ previous_;
    FontMetrics metrics_;
    std::mutex mutex_;
    std::unordered_map<std::uint32_t, std::shared_ptr<const Glyph>> cache_;
};

class Win32MemoryFont : public PrivateFont {
public:
    Win32MemoryFont(HANDLE handle, int faces) : handle_(handle), faces_(faces) {}
    ~Win32MemoryFont() override { RemoveFontMemResourceEx(handle_); }
    int faceCount() const override { return faces_; }

private:
    HANDLE handle_;
    int faces_;
};

class Win32FileFont : public PrivateFont {
public:
    Win32FileFont(std::wstring path, int faces) : path_(std::move(path)), faces_(faces) {}
    ~Win32FileFont() override { RemoveFontResourceExW(path_.c_str(), FR_PRIVATE, nullptr); }
    int faceCount() const override { return faces_; }

private:
    std::wstring path_;
    int faces_;
};

class Win32GlyphService : public GlyphService {
public:
    std::unique_ptr<GlyphFont> createFont(const FontRequest& request) override {
        return Win32GlyphFont::create(request);
    }
    std::unique_ptr<PrivateFont> addPrivateFont(std::span<const std::uint8_t> data) override {
        if (data.empty() || data.size() > MAXDWORD) return nullptr;
        // The system copies the bytes; it only wants a writable pointer by signature.
        std::vector<std::uint8_t> copy(data.begin(), data.end());
        DWORD faces = 0;
        HANDLE handle = AddFontMemResourceEx(copy.data(), static_cast<DWORD>(copy.size()), nullptr, &faces);
        if (!handle) return nullptr;
        if (faces == 0) {
            RemoveFontMemResourceEx(handle);
            return nullptr;
        }
        return std::make_unique<Win32MemoryFont>(handle, static_cast<int>(faces));
    }
    std::unique_ptr<PrivateFont> addPrivateFontFile(std::u16string_view path) override {
        if (path.empty()) return nullptr;
        std::wstring native = toNativePath(path).wstring();
        const int faces = AddFontResourceExW(native.c_str(), FR_PRIVATE, nullptr);
        if (faces <= 0) return nullptr;
        return std::make_unique<Win32FileFont>(std::move(native), faces);
    }
};

}  // namespace

std::unique_ptr<GlyphService> Win32::makeGlyphService() { return std::make_unique<Win32GlyphService>(); }

}  // namespace Arbor::Platform
