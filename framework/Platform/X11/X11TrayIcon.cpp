// The X11 backend's notification-area icons and the thread that serves them (see
// X11TrayIcon.h). Each icon is a StatusNotifierItem while a watcher took it, else an
// XEmbed icon while a system tray runs; the tray thread moves an icon between the two
// as watchers and trays come and go, and drops the icons of windows that are gone.
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/TrayIcon.h"
#include "framework/Platform/Window.h"
#if defined(TAVIZO_HAS_SDBUS)
#include "framework/Platform/Linux/DbusMenuExporter.h"
#include "framework/Platform/Linux/StatusNotifierItem.h"
#endif
#include "framework/Platform/X11/X11Services.h"
#include "framework/Platform/X11/X11TrayIcon.h"
#include "framework/Platform/X11/X11XEmbedIcon.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace Arbor::Platform::X11 {

namespace {

// How often the thread looks for windows that are gone and for a tray that started.
constexpr int HousekeepingMilliseconds = 500;

struct Entry {
    TrayIconPixels picture;
    std::u16string tip;
#if defined(TAVIZO_HAS_SDBUS)
    std::unique_ptr<Linux::StatusNotifierItem> item;
#endif
    std::unique_ptr<XEmbedIcon> embed;
};

// Delivers a click as the shell does: message 0x8002, the identifier, the mouse message.
void deliver(WindowHandle window, std::uint32_t mouseMessage) {
    messageQueueService().postMessage(window, TrayIconCallbackMessage, TrayIconIdentifier,
                                      std::intptr_t(mouseMessage));
}

class TrayHost {
public:
    static TrayHost& instance() {
        static auto* host = new TrayHost;  // its thread serves the icons until the process ends
        return *host;
    }

    bool add(WindowHandle window, const TrayIconPixels& picture, std::u16string_view tip) {
        std::unique_lock lock(mutex_);
        if (entries_.count(window)) return false;
        Entry entry;
        entry.picture = picture;
        entry.tip = std::u16string(tip.substr(0, TrayIconTipLength));
#if defined(TAVIZO_HAS_SDBUS)
        entry.item = Linux::StatusNotifierItem::create(
            "tavizo", entry.picture, entry.tip,
            [window](Linux::TrayActivation kind, std::int32_t, std::int32_t) {
                std::uint32_t down = WM_LBUTTONDOWN, up = WM_LBUTTONUP;
                if (kind == Linux::TrayActivation::Context) down = WM_RBUTTONDOWN, up = WM_RBUTTONUP;
                if (kind == Linux::TrayActivation::Secondary) down = WM_MBUTTONDOWN, up = WM_MBUTTONUP;
                deliver(window, down);
                deliver(window, up);
            });
#endif
        reconcile(window, entry);
        if (!shown(entry)) {
            if (!toldNeither_)
                std::fprintf(stderr,
                             "tavizo: no StatusNotifierItem host and no XEmbed system tray on this desktop: "
                             "the notification icon is not shown\n");
            toldNeither_ = true;
            return false;
        }
        entries_.emplace(window, std::move(entry));
        startThread();
        wake();
        return true;
    }

    bool modify(WindowHandle window, const TrayIconPixels& picture, std::u16string_view tip) {
        std::unique_lock lock(mutex_);
        auto found = entries_.find(window);
        if (found == entries_.end()) return false;
        Entry& entry = found->second;
        entry.picture = picture;
        entry.tip = std::u16string(tip.substr(0, TrayIconTipLength));
#if defined(TAVIZO_HAS_SDBUS)
        if (entry.item) {
            entry.item->setPicture(entry.picture);
            entry.item->setTip(entry.tip);
        }
#endif
        if (entry.embed) {
            entry.embed->setPicture(entry.picture);
            entry.embed->setTip(entry.tip);
        }
        wake();
        return true;
    }

    bool remove(WindowHandle window) {
        std::unique_lock lock(mutex_);
        const bool removed = entries_.erase(window) > 0;
        wake();
        return removed;
    }

#if defined(TAVIZO_HAS_SDBUS)
    bool attachMenu(WindowHandle window, std::unique_ptr<Linux::StatusNotifierMenu> menu) {
        std::unique_lock lock(mutex_);
        auto found = entries_.find(window);
        if (found == entries_.end() || !found->second.item) return false;
        const bool attached = found->second.item->setMenu(std::move(menu));
        wake();
        return attached;
    }

    // The panel's menu of the window's item: the exporter attached the first time,
    // updated after (the changes then reach the panel as signals).
    bool setMenu(WindowHandle window, const std::vector<TrayMenuItem>& menu) {
        std::unique_lock lock(mutex_);
        auto found = entries_.find(window);
        if (found == entries_.end() || !found->second.item) return false;
        Linux::StatusNotifierItem& item = *found->second.item;
        bool done = true;
        if (auto* exporter = dynamic_cast<Linux::DbusMenuExporter*>(item.menu())) {
            exporter->update(menu);
        } else {
            auto made = std::make_unique<Linux::DbusMenuExporter>(window);
            made->update(menu);
            done = item.setMenu(std::move(made));
        }
        wake();
        return done;
    }
#endif

    Inspection::TrayIconKind kind(WindowHandle window) {
        std::unique_lock lock(mutex_);
        auto found = entries_.find(window);
        if (found == entries_.end()) return Inspection::TrayIconKind::None;
#if defined(TAVIZO_HAS_SDBUS)
        if (found->second.item && found->second.item->registered()) return Inspection::TrayIconKind::StatusNotifierItem;
#endif
        return found->second.embed ? Inspection::TrayIconKind::XEmbed : Inspection::TrayIconKind::None;
    }
    std::string busName([[maybe_unused]] WindowHandle window) {
#if defined(TAVIZO_HAS_SDBUS)
        std::unique_lock lock(mutex_);
        auto found = entries_.find(window);
        if (found != entries_.end() && found->second.item) return found->second.item->busName();
#endif
        return {};
    }
    std::uint64_t embedWindow(WindowHandle window) {
        std::unique_lock lock(mutex_);
        auto found = entries_.find(window);
        return found != entries_.end() && found->second.embed ? found->second.embed->window() : 0;
    }

private:
    TrayHost() {
        if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) wake_[0] = wake_[1] = -1;
    }

    static bool shown(const Entry& entry) {
#if defined(TAVIZO_HAS_SDBUS)
        if (entry.item && entry.item->registered()) return true;
#endif
        return entry.embed != nullptr;
    }

    // The private connection of the XEmbed icons, opened on first need; null when the
    // display does not open.
    Display* display() {
        if (!display_ && !displayFailed_) {
            display_ = XOpenDisplay(nullptr);
            displayFailed_ = display_ == nullptr;
            // MANAGER announcements of trays that start come to the root window.
            if (display_) XSelectInput(display_, DefaultRootWindow(display_), StructureNotifyMask);
        }
        return display_;
    }

    // Shows the icon the best way the desktop offers now (mutex held).
    void reconcile(WindowHandle window, Entry& entry) {
#if defined(TAVIZO_HAS_SDBUS)
        if (entry.item && !entry.item->alive()) entry.item.reset();
        if (entry.item && entry.item->registered()) {
            entry.embed.reset();
            return;
        }
#endif
        if (entry.embed) return;
        Display* connection = display();
        if (!connection) return;
        const int screen = DefaultScreen(connection);
        const Window manager = XEmbedIcon::trayManager(connection, screen);
        if (!manager) return;
        // The manager's end (DestroyNotify) tells that the icon went with it.
        XSelectInput(connection, manager, StructureNotifyMask);
        entry.embed = XEmbedIcon::dock(connection, screen, manager, entry.picture, entry.tip,
                                       [window](std::uint32_t message) { deliver(window, message); });
    }

    void wake() {
        if (wake_[1] < 0) return;
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write(wake_[1], &byte, 1);
    }

    void startThread() {
        if (thread_.joinable()) return;
        thread_ = std::thread([this] { serve(); });
        thread_.detach();
    }

    void serve() {
        auto nextHousekeeping = std::chrono::steady_clock::now();
        std::vector<pollfd> fds;
        for (;;) {
            int timeout = HousekeepingMilliseconds;
            {
                std::unique_lock lock(mutex_);
                fds.clear();
                fds.push_back({wake_[0], POLLIN, 0});
                if (display_) fds.push_back({ConnectionNumber(display_), POLLIN, 0});
#if defined(TAVIZO_HAS_SDBUS)
                for (auto& [window, entry] : entries_) {
                    if (!entry.item || entry.item->fd() < 0) continue;
                    fds.push_back({entry.item->fd(), entry.item->events(), 0});
                    const int wait = entry.item->timeoutMilliseconds();
                    if (wait >= 0) timeout = std::min(timeout, wait);
                }
#endif
                // Events Xlib read already while other threads made requests wait in
                // its queue, where poll() cannot see them.
                if (display_ && XPending(display_) > 0) timeout = 0;
            }
            ::poll(fds.data(), nfds_t(fds.size()), timeout);

            std::unique_lock lock(mutex_);
            char drain[64];
            while (wake_[0] >= 0 && ::read(wake_[0], drain, sizeof drain) > 0) {
            }
            readEvents();
#if defined(TAVIZO_HAS_SDBUS)
            for (auto& [window, entry] : entries_)
                if (entry.item) entry.item->process();
#endif
            const auto now = std::chrono::steady_clock::now();
            const bool housekeeping = now >= nextHousekeeping;
            if (housekeeping) nextHousekeeping = now + std::chrono::milliseconds(HousekeepingMilliseconds);
            for (auto it = entries_.begin(); it != entries_.end();) {
                // The icon of a window that is gone goes with it, as the shell drops it.
                if (housekeeping && !windowService().exists(it->first)) {
                    it = entries_.erase(it);
                    continue;
                }
                reconcileLater(it->first, it->second, housekeeping);
                ++it;
            }
        }
    }

    // Re-docking looks for a tray only on the housekeeping beat (a round trip); a
    // registered item drops its XEmbed icon at once.
    void reconcileLater(WindowHandle window, Entry& entry, bool housekeeping) {
        if (housekeeping || shown(entry)) reconcile(window, entry);
    }

    void readEvents() {
        if (!display_) return;
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == DestroyNotify) {
                // A tray that ends takes its icons' slots with it.
                for (auto& [window, entry] : entries_)
                    if (entry.embed && entry.embed->manager() == event.xdestroywindow.window) entry.embed.reset();
                continue;
            }
            for (auto& [window, entry] : entries_)
                if (entry.embed && entry.embed->handle(event)) break;
        }
    }

    std::mutex mutex_;
    std::map<WindowHandle, Entry> entries_;
    Display* display_ = nullptr;
    bool displayFailed_ = false;
    bool toldNeither_ = false;
    int wake_[2] = {-1, -1};
    std::thread thread_;
};

class X11TrayIconService : public TrayIconService {
public:
    std::unique_ptr<TrayIconImage> createIcon(const TrayIconPixels& picture) override {
        return makePixelTrayIcon(picture);
    }
    bool addIcon(WindowHandle window, void* icon, std::u16string_view tip) override {
        if (!windowService().exists(window)) return false;
        return TrayHost::instance().add(window, pictureOf(icon), tip);
    }
    bool modifyIcon(WindowHandle window, void* icon, std::u16string_view tip) override {
        return TrayHost::instance().modify(window, pictureOf(icon), tip);
    }
    bool removeIcon(WindowHandle window) override { return TrayHost::instance().remove(window); }
#if defined(TAVIZO_HAS_SDBUS)
    bool setMenu(WindowHandle window, const std::vector<TrayMenuItem>& menu) override {
        return TrayHost::instance().setMenu(window, menu);
    }
#endif

private:
    // A handle that is no picture of ours shows an empty icon, as a null HICON does.
    static TrayIconPixels pictureOf(void* icon) { return pixelsOfTrayIcon(icon).value_or(TrayIconPixels{}); }
};

}  // namespace

std::unique_ptr<TrayIconService> makeTrayIconService() { return std::make_unique<X11TrayIconService>(); }

#if defined(TAVIZO_HAS_SDBUS)
bool attachTrayMenu(WindowHandle window, std::unique_ptr<Linux::StatusNotifierMenu> menu) {
    return TrayHost::instance().attachMenu(window, std::move(menu));
}
#endif

Inspection::TrayIconKind Inspection::trayIconKind(WindowHandle window) { return TrayHost::instance().kind(window); }
std::string Inspection::trayIconBusName(WindowHandle window) { return TrayHost::instance().busName(window); }
std::uint64_t Inspection::trayIconEmbedWindow(WindowHandle window) { return TrayHost::instance().embedWindow(window); }

}  // namespace Arbor::Platform::X11
