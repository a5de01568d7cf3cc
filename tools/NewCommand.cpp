// tavizo-tool new NAME [DIR]: writes a small working character into DIR/NAME (DIR is the
// current folder when left out), to be changed by its author: a blob that breathes, a
// greeting in a balloon, and a click that makes it say something and go back to idling.
// The pictures are drawn here, so the kit needs no files of its own. The folder is
// written beside its final name and renamed into place once complete, so a failure
// leaves nothing half-made; an existing folder is never touched.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "framework/Graphics/PngWriter.h"
#include "framework/Secure/WholeFile.h"
#include "framework/Text/Utf.h"
#include "tools/ToolCommand.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCell = 96;  // one cell of the character's picture

// A straight-alpha RGBA canvas that shapes are laid over with antialiased edges.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height), rgba_(std::size_t(width) * height * 4, 0) {}

    // Lays colour 0xRRGGBB over the pixels a shape covers; coverage(x, y) is the
    // signed distance from the pixel centre to the shape's edge (negative inside).
    template <typename Distance>
    void fill(std::uint32_t color, Distance distance) {
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const double d = distance(x + 0.5, y + 0.5);
                const double a = std::clamp(0.5 - d, 0.0, 1.0);
                if (a > 0.0) blend(x, y, color, a);
            }
        }
    }

    std::vector<std::uint8_t> png() const {
        return Arbor::Graphics::encodePng({width_, height_, std::span<const std::uint8_t>(rgba_)});
    }

private:
    void blend(int x, int y, std::uint32_t color, double alpha) {
        std::uint8_t* p = &rgba_[(std::size_t(y) * width_ + x) * 4];
        const double under = p[3] / 255.0;
        const double out = alpha + under * (1.0 - alpha);
        for (int c = 0; c < 3; ++c) {
            const double src = (color >> (16 - 8 * c) & 0xFF);
            p[c] = static_cast<std::uint8_t>(std::lround((src * alpha + p[c] * under * (1.0 - alpha)) / out));
        }
        p[3] = static_cast<std::uint8_t>(std::lround(out * 255.0));
    }

    int width_, height_;
    std::vector<std::uint8_t> rgba_;
};

// Signed distances, good enough for shapes that are not very long and thin.
auto ellipse(double cx, double cy, double rx, double ry) {
    return [=](double x, double y) {
        const double d = std::hypot((x - cx) / rx, (y - cy) / ry);
        return (d - 1.0) * std::min(rx, ry);
    };
}

auto roundedBox(double left, double top, double right, double bottom, double radius) {
    return [=](double x, double y) {
        const double cx = (left + right) / 2, cy = (top + bottom) / 2;
        const double qx = std::abs(x - cx) - ((right - left) / 2 - radius);
        const double qy = std::abs(y - cy) - ((bottom - top) / 2 - radius);
        return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
    };
}

// Three cells: resting, breathing in (wider and lower), and delighted (eyes shut, mouth open).
std::vector<std::uint8_t> drawCharacter() {
    Canvas canvas(kCell * 3, kCell);
    for (int cell = 0; cell < 3; ++cell) {
        const double left = cell * kCell;
        const double cx = left + kCell / 2.0;
        const double rx = cell == 1 ? 40.0 : 37.0, ry = cell == 1 ? 34.0 : 37.0;
        const double cy = kCell - 4.0 - ry;
        canvas.fill(0x2E7D6B, ellipse(cx, cy, rx + 2.5, ry + 2.5));  // outline
        canvas.fill(0x6FD3BC, ellipse(cx, cy, rx, ry));
        canvas.fill(0xB8F0E2, ellipse(cx - rx * 0.35, cy - ry * 0.45, rx * 0.28, ry * 0.18));  // shine
        canvas.fill(0xF59AA8, ellipse(cx - rx * 0.6, cy + ry * 0.2, 7, 4.5));                 // cheeks
        canvas.fill(0xF59AA8, ellipse(cx + rx * 0.6, cy + ry * 0.2, 7, 4.5));
        const double eyeY = cy - ry * 0.05;
        if (cell == 2) {
            canvas.fill(0x24302C, ellipse(cx - 13, eyeY, 6, 1.8));
            canvas.fill(0x24302C, ellipse(cx + 13, eyeY, 6, 1.8));
            canvas.fill(0x7A2E3A, ellipse(cx, cy + ry * 0.35, 8, 7));
        } else {
            for (const double side : {-13.0, 13.0}) {
                canvas.fill(0x24302C, ellipse(cx + side, eyeY, 5, 6.5));
                canvas.fill(0xFFFFFF, ellipse(cx + side + 1.6, eyeY - 2.4, 1.7, 1.7));
            }
            canvas.fill(0x24302C, ellipse(cx, cy + ry * 0.32, 5, 2.2));
        }
    }
    return canvas.png();
}

// A white balloon with a grey border and a tail at the bottom left.
std::vector<std::uint8_t> drawBalloon() {
    Canvas canvas(200, 80);
    const auto tail = [](double x, double y) {
        // The tail: a small disc that peeks out under the box.
        return std::hypot(x - 36, y - 70) - 7.0;
    };
    canvas.fill(0x8A9590, roundedBox(1, 1, 199, 67, 14));
    canvas.fill(0x8A9590, tail);
    canvas.fill(0xFFFFFF, roundedBox(3, 3, 197, 65, 12));
    canvas.fill(0xFFFFFF, [&](double x, double y) { return tail(x, y) + 2.0; });
    return canvas.png();
}

std::string definition(const std::string& name) {
    std::string text = R"(## @NAME@: a character made by "tavizo-tool new". Change anything: the guide
## (docs/authoring.md) explains every block. Lines that begin with "##" are comments.

## Where the character starts and what it does first.
<FUNC_INITIAL_REG>
<SET_CONFIG>
FuncName = Init
ObjectID = "@NAME@"
ObjectName = "@NAME@"
PosX = Width / 2
PosY = Height - 140
FuncListStart = Idle
</SET_CONFIG>
<SET_CODE_INIT>
number $greeted = 0
</SET_CODE_INIT>
</FUNC_INITIAL_REG>

<FUNC_FINAL_REG>
<SET_CONFIG>
FuncName = Bye
</SET_CONFIG>
</FUNC_FINAL_REG>

## Standing still and breathing; says hello the first time.
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName = Idle
FuncNameMotion = Breathe
PosX = obj.X
PosY = obj.Y
ListHitArea = Body
ListHitEvent = Poke
</SET_CONFIG>
<SET_CODE_INIT>
if ($greeted == 0)
CallBalloon("Hello")
$greeted = 1
endif
</SET_CODE_INIT>
</FUNC_ORDER_REG>

## Poked: a happy face and a word, then back to Idle.
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName = Poked
FuncNameMotion = Delight
PosX = obj.X
PosY = obj.Y
CallBalloonList = Giggle
ListHitArea = Body
</SET_CONFIG>
<SET_CODE_LOOP>
if (GetFrameNum() >= 45)
PostEvent(Idle, NONE, "")
endif
</SET_CODE_LOOP>
</FUNC_ORDER_REG>

## Motions: cells of body.png, 96 pixels square. Each row: source x, source y,
## move x, move y, frames to show, picture (empty: the motion's own), sound.
<FUNC_MOTION_REG>
<SET_CONFIG>
FuncName = Breathe
ImageName = "body.png"
Width = 96
Height = 96
</SET_CONFIG>
<SET_PARAM>
0, 0, 0, 0, 40, "", ""
96, 0, 0, 0, 24, "", ""
</SET_PARAM>
</FUNC_MOTION_REG>

<FUNC_MOTION_REG>
<SET_CONFIG>
FuncName = Delight
ImageName = "body.png"
Width = 96
Height = 96
</SET_CONFIG>
<SET_PARAM>
192, 0, 0, 0, 30, "", ""
</SET_PARAM>
</FUNC_MOTION_REG>

## The part of the picture that takes clicks, and what a click does.
<FUNC_HIT_AREA_REG>
<SET_CONFIG>
FuncName = Body
Width = 80
Height = 76
PosX = 8
PosY = 18
</SET_CONFIG>
</FUNC_HIT_AREA_REG>

<FUNC_HIT_EVENT_REG>
<SET_CONFIG>
FuncName = Poke
HitType = L_BUTTON_DOWN
MyHitArea = Body
FuncListEvent = Poked
</SET_CONFIG>
</FUNC_HIT_EVENT_REG>

## Balloons: above the character, following it. Giggle cuts a balloon still talking short
## (CallType = FORCE); a NORMAL call would be dropped while one talks.
<FUNC_BALLOON_ORDER_REG>
<SET_CONFIG>
FuncName = Hello
FuncNameMotion = BalloonPicture
FuncNameTextLayer = Greeting
PosX = -40
PosY = -84
PopupPosX = 36
PopupPosY = 76
FlagFollowChara = true
</SET_CONFIG>
</FUNC_BALLOON_ORDER_REG>

<FUNC_BALLOON_ORDER_REG>
<SET_CONFIG>
FuncName = Giggle
CallType = FORCE
FuncNameMotion = BalloonPicture
FuncNameTextLayer = Tickles
PosX = -40
PosY = -84
PopupPosX = 36
PopupPosY = 76
FlagFollowChara = true
</SET_CONFIG>
</FUNC_BALLOON_ORDER_REG>

<FUNC_BALLOON_MOTION_REG>
<SET_CONFIG>
FuncName = BalloonPicture
ImageName = "balloon.png"
Width = 200
Height = 80
</SET_CONFIG>
<SET_PARAM>
0, 0, 0, 0, 1, "", ""
</SET_PARAM>
</FUNC_BALLOON_MOTION_REG>

## The words: each line of SET_TEXT is a script line; a text value is typed out.
<FUNC_TEXT_STYLE_REG>
<SET_CONFIG>
FuncName = Plain
FontSize = 14
FontColor = "333333"
Speed = 30
</SET_CONFIG>
</FUNC_TEXT_STYLE_REG>

<FUNC_TEXT_LAYER_REG>
<SET_CONFIG>
FuncName = Greeting
FuncNameTextStyle = Plain
Width = 180
Height = 50
PosX = 12
PosY = 10
</SET_CONFIG>
<SET_TEXT>
Open()
"Hello! I am @NAME@."
"\n"
"Click me!"
Wait(90)
Close()
</SET_TEXT>
</FUNC_TEXT_LAYER_REG>

<FUNC_TEXT_LAYER_REG>
<SET_CONFIG>
FuncName = Tickles
FuncNameTextStyle = Plain
Width = 180
Height = 50
PosX = 12
PosY = 10
</SET_CONFIG>
<SET_TEXT>
Open()
"Hee hee, it tickles!"
Wait(60)
Close()
</SET_TEXT>
</FUNC_TEXT_LAYER_REG>
)";
    for (std::size_t at = text.find("@NAME@"); at != std::string::npos; at = text.find("@NAME@", at + name.size())) {
        text.replace(at, 6, name);
    }
    return text;
}

// A name that is a folder name and an object ID everywhere: letters, digits, "-", "_".
bool validName(const std::string& name) {
    if (name.empty() || name.size() > 64 || name == "MAIN_OBJECT") return false;
    return std::all_of(name.begin(), name.end(), [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    });
}

bool writeFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
    return !bytes.empty() && Arbor::Secure::writeWholeFile(path, bytes);
}

int runNew(const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2) {
        std::fprintf(stderr, "usage: tavizo-tool new NAME [DIR]\n");
        return 2;
    }
    const std::string& name = args[0];
    if (!validName(name)) {
        std::fprintf(stderr,
                     "new: %s is not a character name: use 1 to 64 letters, digits, '-' or '_' "
                     "(and not MAIN_OBJECT)\n",
                     name.c_str());
        return 2;
    }
    std::error_code ec;
    const fs::path parent = args.size() == 2 ? fs::path(Arbor::Text::fromUtf8(args[1])) : fs::current_path(ec);
    if (ec || !fs::is_directory(parent, ec)) {
        std::fprintf(stderr, "new: %s is not a folder\n", args.size() == 2 ? args[1].c_str() : ".");
        return 1;
    }
    const fs::path target = parent / name;
    if (fs::exists(fs::symlink_status(target, ec)) || fs::exists(parent / (name + ".qnd"), ec)) {
        std::fprintf(stderr, "new: %s already exists; nothing was written\n",
                     Arbor::Text::toUtf8(target.u16string()).c_str());
        return 1;
    }

    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const fs::path staging = parent / ("." + name + ".new-" + std::to_string(stamp));
    const std::string func = definition(name);
    const bool written =
        fs::create_directory(staging, ec) &&
        writeFile(staging / "main.func", std::span(reinterpret_cast<const std::uint8_t*>(func.data()), func.size())) &&
        writeFile(staging / "body.png", drawCharacter()) && writeFile(staging / "balloon.png", drawBalloon());
    // rename refuses to replace a folder that appeared meanwhile only where the system
    // does; check once more so that a race loses nothing.
    if (written && !fs::exists(fs::symlink_status(target, ec))) fs::rename(staging, target, ec);
    if (!written || ec || fs::exists(staging)) {
        std::error_code ignored;
        fs::remove_all(staging, ignored);
        std::fprintf(stderr, "new: cannot write %s%s\n", Arbor::Text::toUtf8(target.u16string()).c_str(),
                     ec ? (": " + ec.message()).c_str() : "");
        return 1;
    }
    std::printf("wrote %s\nnext: tavizo-tool lint %s\n", Arbor::Text::toUtf8(target.u16string()).c_str(),
                Arbor::Text::toUtf8(target.u16string()).c_str());
    return 0;
}

}  // namespace

TAVIZO_TOOL_COMMAND(new, "new NAME [DIR]", "writes a small working character folder to start from", runNew);
