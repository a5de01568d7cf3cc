// Popup menus the X11 backend draws itself, without a toolkit. A shown menu is an
// override-redirect window (the window manager leaves it alone, and it stays above
// every managed window) at the asked point, moved so that it lies on the monitor under
// that point. While it is open the pointer and keyboard are grabbed, so that a click
// anywhere else closes it and the keys reach it; the calling thread meanwhile runs a
// message loop of its own, as the system's menu loop does, so its other windows keep
// working. The owner window hears WM_INITMENUPOPUP before each menu opens and gets
// WM_COMMAND posted when an item is chosen, the same messages as on Windows.
//
// Mouse: hovering highlights an item and opens a submenu; a click on an item chooses
// it; a click outside closes every menu. A release of the button that opened the menu
// chooses only once the pointer moved away from where the menu opened (so the
// right-click that opened it does not pick the first item). Keys: Up and Down move
// the highlight, Right or Enter opens a submenu, Left and Escape close the innermost
// menu, Enter and Space choose.
#include <chrono>
#include <cmath>
#include <thread>

#include "framework/Platform/MenuTree.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/PopupMenu.h"
#include "framework/Platform/Screen.h"
#include "framework/Platform/Window.h"
#include "framework/Platform/X11/X11MenuPainter.h"
#include "framework/Platform/X11/X11Services.h"
#include "framework/Platform/X11/X11Desktop.h"

namespace Arbor::Platform::X11 {

namespace {

constexpr int VK_RETURN = 0x0D, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27,
              VK_DOWN = 0x28;
// How far the pointer must move before releasing the opening button chooses.
constexpr int kReleaseSlop = 4;
// Another client may hold the pointer for a moment (a panel that was clicked).
constexpr int kGrabAttempts = 50;

X11Desktop& desktop() { return X11Desktop::instance(); }

// The monitor under the point, else the whole screen.
Rect monitorAt(Point point) {
    X11Desktop& d = desktop();
    int count = 0;
    Rect result = screenService().metrics().virtualScreen;
    if (d.hasRandr()) {
        if (XRRMonitorInfo* monitors = XRRGetMonitors(d.display(), d.root(), True, &count)) {
            for (int i = 0; i < count; ++i) {
                const XRRMonitorInfo& m = monitors[i];
                const Rect r{m.x, m.y, m.x + m.width, m.y + m.height};
                if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) result = r;
            }
            XRRFreeMonitors(monitors);
        }
    }
    if (result.width() <= 0 || result.height() <= 0) result = Rect{0, 0, 1024, 768};
    return result;
}

// Keeps a span of `size` starting at `start` within [low, high); a span larger than
// the range starts at its low end.
int keepWithin(int start, int size, int low, int high) {
    if (start + size > high) start = high - size;
    return std::max(start, low);
}

class MenuSession;

struct Level {
    std::shared_ptr<const MenuTree> menu;
    MenuPainter::Layout layout;
    Rect bounds;  // screen coordinates
    WindowHandle window = WindowHandle::None;
    std::unique_ptr<DibSection> surface;
    int highlighted = -1;
    int openedFrom = -1;  // the item of the level before that opened this one
};

class MenuSession {
public:
    MenuSession(std::shared_ptr<const MenuTree> root, Point at, WindowHandle owner, double dpi)
        : root_(std::move(root)), at_(at), owner_(owner), painter_(dpi) {}
    ~MenuSession() { closeAll(); }

    // Shows the first menu and grabs; false when that failed.
    bool open() {
        if (!openLevel(root_, -1)) return false;
        X11Desktop& d = desktop();
        const Window grabWindow = static_cast<Window>(levels_.front().window);
        int status = GrabNotViewable;
        for (int attempt = 0; attempt < kGrabAttempts; ++attempt) {
            status = XGrabPointer(d.events(), grabWindow, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                                  GrabModeAsync, GrabModeAsync, XNone, XNone, CurrentTime);
            if (status == GrabSuccess) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (status != GrabSuccess) {
            d.wakeEvents();
            return false;
        }
        grabbed_ = true;
        // Without the keyboard the menu still works with the mouse.
        XGrabKeyboard(d.events(), grabWindow, False, GrabModeAsync, GrabModeAsync, CurrentTime);
        XSync(d.events(), False);
        d.wakeEvents();
        return true;
    }

    // Runs the menu loop until the menu closes; the chosen command, if any.
    std::optional<std::uint32_t> run() {
        auto& queue = messageQueueService();
        X11Desktop& d = desktop();
        while (!done_ && d.connected()) {
            // Peeking also handles messages other threads send (they wait for them).
            queue.waitMessage(100);
            Message message;
            while (!done_ && queue.peekMessage(message)) {
                if (message.message == WM_QUIT) {
                    // The menu closes and the quit goes on to the thread's own loop.
                    quitCode_ = static_cast<int>(message.wParam);
                    done_ = true;
                    break;
                }
                queue.translateMessage(message);
                queue.dispatchMessage(message);
            }
        }
        closeAll();
        if (quitCode_) queue.postQuitMessage(*quitCode_);
        return chosen_;
    }

    WindowHandle rootWindow() const { return levels_.empty() ? WindowHandle::None : levels_.front().window; }

    // The window procedure of every menu window of this session.
    std::optional<std::intptr_t> handle(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                        std::intptr_t lParam) {
        const Level* source = nullptr;
        for (const Level& level : levels_) {
            if (level.window == window) source = &level;
        }
        if (!source) return std::nullopt;
        const Point screen{source->bounds.left + pointParamX(lParam), source->bounds.top + pointParamY(lParam)};
        switch (message) {
            case WM_MOUSEMOVE:
                onMove(screen);
                return 0;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
            case WM_RBUTTONDOWN:
            case WM_RBUTTONDBLCLK:
            case WM_MBUTTONDOWN:
                onPress(screen);
                return 0;
            case WM_LBUTTONUP:
            case WM_RBUTTONUP:
                onRelease(screen);
                return 0;
            case WM_KEYDOWN:
                onKey(static_cast<int>(wParam));
                return 0;
            default:
                return std::nullopt;
        }
    }

private:
    bool openLevel(std::shared_ptr<const MenuTree> menu, int fromItem) {
        auto& queue = messageQueueService();
        // The owner may still change what it shows before the menu opens.
        queue.sendMessage(owner_, WM_INITMENUPOPUP, static_cast<std::uintptr_t>(menu->handle),
                          fromItem < 0 ? 0 : fromItem);
        Level level;
        level.menu = std::move(menu);
        level.openedFrom = fromItem;
        level.layout = painter_.layout(*level.menu);
        const int w = level.layout.width, h = level.layout.height;
        if (levels_.empty()) {
            const Rect screen = monitorAt(at_);
            // As the system does: when there is no room right of (below) the point, the
            // menu opens to its left (above it).
            int x = at_.x + w > screen.right ? at_.x - w : at_.x;
            int y = at_.y + h > screen.bottom ? at_.y - h : at_.y;
            level.bounds = Rect{keepWithin(x, w, screen.left, screen.right), keepWithin(y, h, screen.top, screen.bottom),
                                0, 0};
        } else {
            const Level& parent = levels_.back();
            const Rect item = parent.layout.items[static_cast<std::size_t>(fromItem)];
            const Rect screen = monitorAt(Point{parent.bounds.left, parent.bounds.top});
            const int overlap = painter_.scaled(2);
            int x = parent.bounds.right - overlap;
            if (x + w > screen.right) x = parent.bounds.left - w + overlap;
            const int y = parent.bounds.top + item.top - painter_.scaled(5);
            level.bounds = Rect{keepWithin(x, w, screen.left, screen.right), keepWithin(y, h, screen.top, screen.bottom),
                                0, 0};
        }
        level.bounds.right = level.bounds.left + w;
        level.bounds.bottom = level.bounds.top + h;
        level.surface = createDibSection(w, h);
        if (!level.surface) return false;
        level.window = createMenuWindow(level.bounds);
        if (level.window == WindowHandle::None) return false;
        levels_.push_back(std::move(level));
        present(levels_.back());
        Display* display = desktop().display();
        XMapRaised(display, static_cast<Window>(levels_.back().window));
        {
            auto guard = desktop().lock();
            if (WindowRecord* record = desktop().find(levels_.back().window)) record->visible = true;
        }
        XSync(display, False);
        return true;
    }

    WindowHandle createMenuWindow(const Rect& bounds) {
        X11Desktop& d = desktop();
        Display* display = d.display();
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.save_under = True;
        attributes.background_pixel = 0;
        attributes.border_pixel = 0;
        const Window xid = XCreateWindow(d.events(), d.root(), bounds.left, bounds.top,
                                         static_cast<unsigned>(bounds.width()), static_cast<unsigned>(bounds.height()),
                                         0, CopyFromParent, InputOutput, CopyFromParent,
                                         CWOverrideRedirect | CWSaveUnder | CWBackPixel | CWBorderPixel, &attributes);
        if (!xid) return WindowHandle::None;
        XSelectInput(d.events(), xid,
                     ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask | StructureNotifyMask);
        XSync(d.events(), False);
        d.wakeEvents();
        // Compositors give popup menus their own treatment (no fading, a shadow).
        const Atom type = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
        const Atom popup = XInternAtom(display, "_NET_WM_WINDOW_TYPE_POPUP_MENU", False);
        XChangeProperty(display, xid, type, XA_ATOM, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&popup),
                        1);
        XClassHint classHint{const_cast<char*>("tavizo-menu"), const_cast<char*>("Tavizo")};
        XSetClassHint(display, xid, &classHint);

        WindowRecord record;
        record.xid = xid;
        record.procedure = [this](WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) { return handle(window, message, wParam, lParam); };
        record.thread = X11Desktop::currentThreadId();
        record.title = u"#32768";
        record.bounds = bounds;
        record.style = WS_POPUP;
        // Layered: presented like the other windows of this backend, from a surface.
        record.exStyle = WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
        record.depth = DefaultDepth(display, d.screen());
        record.visual = DefaultVisual(display, d.screen());
        record.gc = XCreateGC(display, xid, 0, nullptr);
        {
            auto guard = d.lock();
            d.records()[xid] = std::move(record);
        }
        return static_cast<WindowHandle>(xid);
    }

    void present(Level& level) {
        painter_.paint(*level.menu, level.layout, level.highlighted, *level.surface);
        windowService().presentLayered(level.window, *level.surface, level.bounds, 255);
    }

    void setHighlight(Level& level, int index) {
        if (level.highlighted == index) return;
        level.highlighted = index;
        present(level);
    }

    void closeAbove(std::size_t keep) {
        while (levels_.size() > keep) {
            windowService().destroy(levels_.back().window);
            levels_.pop_back();
        }
        if (!levels_.empty() && levels_.size() == keep) XFlush(desktop().display());
    }

    void closeAll() {
        if (grabbed_) {
            X11Desktop& d = desktop();
            XUngrabKeyboard(d.events(), CurrentTime);
            XUngrabPointer(d.events(), CurrentTime);
            XFlush(d.events());
            grabbed_ = false;
        }
        closeAbove(0);
    }

    // The level and item under a screen point, innermost level first.
    std::pair<int, int> hit(Point screen) const {
        for (int i = static_cast<int>(levels_.size()) - 1; i >= 0; --i) {
            const Rect& b = levels_[static_cast<std::size_t>(i)].bounds;
            if (screen.x >= b.left && screen.x < b.right && screen.y >= b.top && screen.y < b.bottom) {
                return {i, MenuPainter::entryAt(levels_[static_cast<std::size_t>(i)].layout,
                                                Point{screen.x - b.left, screen.y - b.top})};
            }
        }
        return {-1, -1};
    }

    const MenuEntry* entryOf(std::size_t level, int index) const {
        if (level >= levels_.size() || index < 0) return nullptr;
        const auto& entries = levels_[level].menu->entries;
        return static_cast<std::size_t>(index) < entries.size() ? &entries[static_cast<std::size_t>(index)] : nullptr;
    }

    void openSubMenu(std::size_t level, int index, bool highlightFirst) {
        const MenuEntry* entry = entryOf(level, index);
        if (!entry || entry->kind != MenuEntry::Kind::SubMenu || !entry->isSelectable() || !entry->subMenu) return;
        if (levels_.size() > level + 1 && levels_[level + 1].openedFrom == index) {
            closeAbove(level + 2);
        } else {
            closeAbove(level + 1);
            if (!openLevel(entry->subMenu, index)) return;
        }
        if (highlightFirst) moveHighlight(levels_.back(), +1);
    }

    void onMove(Point screen) {
        if (std::abs(screen.x - at_.x) > kReleaseSlop || std::abs(screen.y - at_.y) > kReleaseSlop) armed_ = true;
        const auto [levelIndex, item] = hit(screen);
        if (levelIndex < 0) {
            // Outside: the innermost menu loses its highlight unless a submenu hangs on it.
            Level& innermost = levels_.back();
            setHighlight(innermost, -1);
            return;
        }
        const auto level = static_cast<std::size_t>(levelIndex);
        const MenuEntry* entry = entryOf(level, item);
        setHighlight(levels_[level], entry && entry->isSelectable() ? item : -1);
        if (entry && entry->kind == MenuEntry::Kind::SubMenu && entry->isSelectable()) {
            openSubMenu(level, item, false);
        } else if (item >= 0) {
            closeAbove(level + 1);
        }
    }

    void onPress(Point screen) {
        if (hit(screen).first < 0) {
            done_ = true;  // a click outside every menu closes them
            return;
        }
        armed_ = true;
    }

    void onRelease(Point screen) {
        if (!armed_) return;
        const auto [levelIndex, item] = hit(screen);
        if (levelIndex < 0) return;
        activate(static_cast<std::size_t>(levelIndex), item);
    }

    void activate(std::size_t level, int item) {
        const MenuEntry* entry = entryOf(level, item);
        if (!entry || !entry->isSelectable()) return;
        if (entry->kind == MenuEntry::Kind::SubMenu) {
            openSubMenu(level, item, true);
            return;
        }
        chosen_ = entry->commandId;
        done_ = true;
    }

    void moveHighlight(Level& level, int step) {
        const int count = static_cast<int>(level.menu->entries.size());
        if (count == 0) return;
        int index = level.highlighted;
        for (int tries = 0; tries < count; ++tries) {
            index = index < 0 ? (step > 0 ? 0 : count - 1) : (index + step + count) % count;
            if (level.menu->entries[static_cast<std::size_t>(index)].isSelectable()) {
                setHighlight(level, index);
                return;
            }
        }
    }

    void onKey(int key) {
        const std::size_t innermost = levels_.size() - 1;
        Level& level = levels_.back();
        switch (key) {
            case VK_DOWN: moveHighlight(level, +1); break;
            case VK_UP: moveHighlight(level, -1); break;
            case VK_RIGHT: openSubMenu(innermost, level.highlighted, true); break;
            case VK_RETURN:
            case VK_SPACE: activate(innermost, level.highlighted); break;
            case VK_LEFT:
                if (levels_.size() > 1) closeAbove(innermost);
                break;
            case VK_ESCAPE:
                if (levels_.size() > 1) {
                    closeAbove(innermost);
                } else {
                    done_ = true;
                }
                break;
            default: break;
        }
    }

    std::shared_ptr<const MenuTree> root_;
    Point at_;
    WindowHandle owner_;
    MenuPainter painter_;
    std::vector<Level> levels_;
    bool grabbed_ = false;
    bool armed_ = false;
    bool done_ = false;
    std::optional<std::uint32_t> chosen_;
    std::optional<int> quitCode_;
};

double screenDpi() {
    X11Desktop& d = desktop();
    // The resource text as the desktop's settings daemon last set it.
    char* resources = nullptr;
    int format = 0;
    unsigned long items = 0, after = 0;
    Atom actual = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d.display(), d.root(), XA_RESOURCE_MANAGER, 0, 1 << 20, False, XA_STRING, &actual, &format,
                           &items, &after, &data) == Success &&
        data) {
        resources = reinterpret_cast<char*>(data);
    }
    const double dpi = dpiFromResources(resources);
    if (data) XFree(data);
    return dpi;
}

class X11PopupMenuService : public PopupMenuService {
public:
    MenuHandle createPopupMenu() override { return store_.create(); }
    bool destroyMenu(MenuHandle menu) override { return store_.destroy(menu); }
    bool appendItem(MenuHandle menu, std::uint32_t flags, std::uint32_t commandId, std::u16string_view text) override {
        return store_.appendItem(menu, flags, commandId, text);
    }
    bool appendSeparator(MenuHandle menu) override { return store_.appendSeparator(menu); }
    bool appendSubMenu(MenuHandle menu, MenuHandle subMenu, std::uint32_t flags, std::u16string_view text) override {
        return store_.appendSubMenu(menu, subMenu, flags, text);
    }

    bool trackPopupMenu(MenuHandle menu, Point at, WindowHandle owner) override {
        X11Desktop& d = desktop();
        auto tree = store_.snapshot(menu);
        if (!tree || !d.connected() || windowService().threadIdOf(owner) != X11Desktop::currentThreadId()) return false;
        if (open_.exchange(true)) return false;  // one popup menu at a time, as on the system
        std::optional<std::uint32_t> chosen;
        bool shown = false;
        {
            MenuSession session(std::move(tree), at, owner, screenDpi());
            shown = session.open();
            if (shown) {
                menuWindow_.store(session.rootWindow());
                chosen = session.run();
            }
            menuWindow_.store(WindowHandle::None);
        }
        open_.store(false);
        if (chosen) messageQueueService().postMessage(owner, WM_COMMAND, *chosen & 0xFFFFu, 0);
        return shown;
    }

    WindowHandle findMenuWindow() override { return menuWindow_.load(); }
    bool isMenuWindowVisible(WindowHandle menuWindow) override {
        return menuWindow != WindowHandle::None && menuWindow_.load() == menuWindow;
    }
    bool setMenuWindowTopmost(WindowHandle menuWindow) override {
        // Override-redirect windows already lie above every managed window.
        return isMenuWindowVisible(menuWindow);
    }

private:
    MenuTreeStore store_;
    std::atomic<bool> open_{false};
    std::atomic<WindowHandle> menuWindow_{WindowHandle::None};
};

}  // namespace

std::unique_ptr<PopupMenuService> makePopupMenuService() { return std::make_unique<X11PopupMenuService>(); }

}  // namespace Arbor::Platform::X11
