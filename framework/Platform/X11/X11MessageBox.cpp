// Message boxes drawn by the backend: a managed dialog window (transient, centred on the
// primary monitor) showing the text and the buttons of the box type, drawn with the
// glyph service. Enter and Space press the focused button (the first one at first), Tab
// and the arrow keys move the focus, Escape and the window's close button answer what
// Escape answers, and a click answers when the button is released over the button it
// went down on. The box waits in a message loop of the calling thread, so that the
// thread's sent and posted messages and its timers are still served meanwhile; a quit
// message ends the box (with the Escape answer) and is posted again for the caller's
// own loop. Where the display is gone or no font is made, the box goes to standard error
// as on the headless desktop.
#include <algorithm>
#include <cstdlib>
#include <optional>

#include "framework/Platform/Glyphs.h"
#include "framework/Platform/Headless/HeadlessServices.h"
#include "framework/Platform/MessageBox.h"
#include "framework/Platform/MessageBoxLayout.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Window.h"
#include "framework/Platform/X11/X11Services.h"
#include "framework/Platform/X11/X11Desktop.h"

namespace Arbor::Platform::X11 {

namespace {

constexpr int VK_TAB = 0x09, VK_RETURN = 0x0D, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_LEFT = 0x25, VK_UP = 0x26,
              VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_SHIFT = 0x10;
constexpr int kFontHeight = -15;  // the em square in pixels

// One box on the screen and what the user did with it so far.
class DialogState {
public:
    DialogState(GlyphFont& font, MessageBoxLayout layout) : font_(font), layout_(std::move(layout)) {
        focused_ = layout_.defaultButton;
    }

    const MessageBoxLayout& layout() const { return layout_; }
    int answer() const { return answer_; }
    void setAnswer(int answer) { answer_ = answer; }
    std::vector<std::uint32_t> picture() { return paintMessageBox(font_, layout_, focused_, pressed_); }

    // True when the picture changed.
    bool onMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
        switch (message) {
            case WM_KEYDOWN:
                switch (static_cast<int>(wParam)) {
                    case VK_RETURN:
                    case VK_SPACE:
                        answer_ = layout_.buttons[static_cast<std::size_t>(focused_)].answer;
                        return false;
                    case VK_ESCAPE:
                        if (layout_.escapeAnswer) answer_ = layout_.escapeAnswer;
                        return false;
                    case VK_TAB:
                        return moveFocus(windowService().isKeyDown(VK_SHIFT) ? -1 : 1);
                    case VK_LEFT:
                    case VK_UP:
                        return moveFocus(-1);
                    case VK_RIGHT:
                    case VK_DOWN:
                        return moveFocus(1);
                    default:
                        return false;
                }
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK: {
                const int hit = messageBoxButtonAt(layout_, Point{pointParamX(lParam), pointParamY(lParam)});
                if (hit < 0) return false;
                pressed_ = hit;
                focused_ = hit;
                return true;
            }
            case WM_LBUTTONUP: {
                if (pressed_ < 0) return false;
                const int hit = messageBoxButtonAt(layout_, Point{pointParamX(lParam), pointParamY(lParam)});
                if (hit == pressed_) answer_ = layout_.buttons[static_cast<std::size_t>(hit)].answer;
                pressed_ = -1;
                return true;
            }
            case WM_CLOSE:
                if (layout_.escapeAnswer) answer_ = layout_.escapeAnswer;
                return false;
            default:
                return false;
        }
    }

private:
    bool moveFocus(int step) {
        const int count = static_cast<int>(layout_.buttons.size());
        const int next = ((focused_ + step) % count + count) % count;
        if (next == focused_) return false;
        focused_ = next;
        return true;
    }

    GlyphFont& font_;
    MessageBoxLayout layout_;
    int focused_ = 0;
    int pressed_ = -1;
    int answer_ = 0;
};

// Shows the picture as the window's background, which the server repaints by itself.
bool showPicture(Window xid, Pixmap& pixmap, const std::vector<std::uint32_t>& pixels, int width, int height) {
    X11Desktop& d = X11Desktop::instance();
    Display* display = d.display();
    const int screen = d.screen();
    Visual* visual = DefaultVisual(display, screen);
    const unsigned depth = static_cast<unsigned>(DefaultDepth(display, screen));
    XImage* image = XCreateImage(display, visual, depth, ZPixmap, 0, nullptr, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), 32, 0);
    if (!image) return false;
    image->data = static_cast<char*>(std::malloc(static_cast<std::size_t>(image->bytes_per_line) *
                                                 static_cast<std::size_t>(height)));
    if (!image->data) {
        XDestroyImage(image);
        return false;
    }
    // Any true-colour layout: each channel goes where the visual's mask says.
    auto place = [](std::uint32_t value, unsigned long mask) -> unsigned long {
        if (!mask) return 0;
        int shift = 0;
        while (!((mask >> shift) & 1)) ++shift;
        int bits = 0;
        while ((mask >> (shift + bits)) & 1) ++bits;
        const unsigned long scaled = bits >= 8 ? (static_cast<unsigned long>(value) << (bits - 8))
                                               : (static_cast<unsigned long>(value) >> (8 - bits));
        return (scaled << shift) & mask;
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                           static_cast<std::size_t>(x)];
            XPutPixel(image, x, y,
                      place((p >> 16) & 0xFF, visual->red_mask) | place((p >> 8) & 0xFF, visual->green_mask) |
                          place(p & 0xFF, visual->blue_mask));
        }
    }
    if (!pixmap) {
        pixmap = XCreatePixmap(display, xid, static_cast<unsigned>(width), static_cast<unsigned>(height), depth);
        XSetWindowBackgroundPixmap(display, xid, pixmap);
    }
    GC gc = XCreateGC(display, pixmap, 0, nullptr);
    XPutImage(display, pixmap, gc, image, 0, 0, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XFreeGC(display, gc);
    XDestroyImage(image);  // frees the pixel memory too
    XClearWindow(display, xid);
    XFlush(display);
    return true;
}

// What the window manager should know of a dialog before it is mapped.
void describeDialog(Window xid, WindowHandle owner, std::uint32_t type, int width, int height, const Rect& bounds) {
    X11Desktop& d = X11Desktop::instance();
    Display* display = d.display();
    const Atoms& atoms = d.atoms();
    const Atom dialog = atoms.netWmWindowTypeDialog;
    XChangeProperty(display, xid, atoms.netWmWindowType, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&dialog), 1);
    std::vector<Atom> states;
    if (owner != WindowHandle::None) states.push_back(atoms.netWmStateModal);
    if (type & MB_TOPMOST) states.push_back(atoms.netWmStateAbove);
    XChangeProperty(display, xid, atoms.netWmState, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(states.data()), static_cast<int>(states.size()));
    // Without an owner the box belongs to the whole program (transient for the root).
    XSetTransientForHint(display, xid, owner != WindowHandle::None ? static_cast<Window>(owner) : d.root());
    XSizeHints hints{};
    hints.flags = USPosition | PPosition | USSize | PSize | PMinSize | PMaxSize | PWinGravity;
    hints.x = bounds.left;
    hints.y = bounds.top;
    hints.width = hints.min_width = hints.max_width = width;
    hints.height = hints.min_height = hints.max_height = height;
    hints.win_gravity = CenterGravity;
    XSetWMNormalHints(display, xid, &hints);
}

class X11MessageBoxService final : public MessageBoxService {
public:
    X11MessageBoxService() : fallback_(Headless::makeMessageBoxService()) {}

    int show(WindowHandle owner, std::u16string_view text, std::u16string_view caption,
             std::uint32_t type) override {
        X11Desktop& d = X11Desktop::instance();
        std::unique_ptr<GlyphFont> font;
        if (d.connected()) {
            FontRequest request;
            request.height = kFontHeight;
            font = glyphService().createFont(request);
        }
        if (!font) return fallback_->show(owner, text, caption, type);

        const Rect monitor = primaryMonitor();
        const int maxTextWidth = std::clamp(monitor.width() / 2, 160, 640);
        DialogState state(*font, layoutMessageBox(*font, text, type, maxTextWidth));
        const int width = state.layout().width, height = state.layout().height;
        const Rect bounds{monitor.left + (monitor.width() - width) / 2, monitor.top + (monitor.height() - height) / 2,
                          0, 0};
        WindowDescription description;
        description.className = u"TavizoMessageBox";
        description.title = std::u16string(caption);
        description.bounds = Rect{bounds.left, bounds.top, bounds.left + width, bounds.top + height};
        description.style = WS_POPUP | WS_CAPTION;
        description.exStyle = (type & MB_TOPMOST) ? WS_EX_TOPMOST : 0;
        description.owner = owner;
        Pixmap pixmap = 0;
        bool repaint = false;
        description.procedure = [&](WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) -> std::optional<std::intptr_t> {
            if (state.onMessage(message, wParam, lParam)) repaint = true;
            if (message == WM_CLOSE) return 0;  // the box ends by its answer only
            return std::nullopt;
        };
        WindowService& windows = windowService();
        const WindowHandle window = windows.create(description);
        if (window == WindowHandle::None) return fallback_->show(owner, text, caption, type);
        const Window xid = static_cast<Window>(window);
        describeDialog(xid, owner, type, width, height, description.bounds);
        if (!showPicture(xid, pixmap, state.picture(), width, height)) {
            windows.destroy(window);
            return fallback_->show(owner, text, caption, type);
        }
        windows.show(window, true, true);
        // Showing gives the manager the window's place again; the fixed size goes with it.
        describeDialog(xid, owner, type, width, height, description.bounds);
        XFlush(d.display());

        MessageQueueService& queue = messageQueueService();
        std::optional<std::uintptr_t> quit;
        while (state.answer() == 0) {
            Message message;
            if (queue.peekMessage(message)) {
                if (message.message == WM_QUIT) {
                    quit = message.wParam;
                    state.setAnswer(state.layout().escapeAnswer ? state.layout().escapeAnswer
                                                                : state.layout().buttons.front().answer);
                    break;
                }
                queue.translateMessage(message);
                queue.dispatchMessage(message);
                if (repaint) {
                    repaint = false;
                    showPicture(xid, pixmap, state.picture(), width, height);
                }
                continue;
            }
            if (!d.connected() || !windows.exists(window)) break;
            queue.waitMessage(100);
        }
        if (windows.exists(window)) windows.destroy(window);
        if (pixmap && d.connected()) {
            XFreePixmap(d.display(), pixmap);
            XFlush(d.display());
        }
        if (quit) queue.postQuitMessage(static_cast<int>(*quit));
        return state.answer();
    }

private:
    std::unique_ptr<MessageBoxService> fallback_;
};

}  // namespace

std::unique_ptr<MessageBoxService> makeMessageBoxService() { return std::make_unique<X11MessageBoxService>(); }

}  // namespace Arbor::Platform::X11
