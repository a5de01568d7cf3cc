// The notification area of the virtual desktop: a record of the calls and the set of
// windows showing an icon, with the refusals the system makes (a second icon for the
// same window, removing an icon that is not there, a window that does not exist).
#include "framework/Platform/Headless/HeadlessTrayIcon.h"

#include <algorithm>
#include <mutex>

#include "framework/Platform/Headless/HeadlessServices.h"
#include "framework/Platform/TrayIcon.h"
#include "framework/Platform/Window.h"

namespace Arbor::Platform {

namespace {

struct TrayState {
    std::mutex mutex;
    std::vector<Headless::TrayIconRecord> records;
    std::vector<WindowHandle> shown;
    std::vector<Headless::TrayMenuRecord> menus;
};

TrayState& state() {
    static TrayState* instance = new TrayState;  // outlives every late caller
    return *instance;
}

class HeadlessTrayIconService : public TrayIconService {
public:
    bool addIcon(WindowHandle window, void* icon, std::u16string_view tip) override {
        const bool exists = windowService().exists(window);
        TrayState& s = state();
        std::lock_guard lock(s.mutex);
        Headless::TrayIconRecord record;
        record.action = Headless::TrayIconRecord::Action::Add;
        record.window = window;
        record.identifier = TrayIconIdentifier;
        record.callbackMessage = TrayIconCallbackMessage;
        record.icon = icon;
        record.tip = std::u16string(tip.substr(0, TrayIconTipLength));
        record.accepted = exists && std::find(s.shown.begin(), s.shown.end(), window) == s.shown.end();
        if (record.accepted) s.shown.push_back(window);
        s.records.push_back(record);
        return record.accepted;
    }
    std::unique_ptr<TrayIconImage> createIcon(const TrayIconPixels& picture) override {
        return makePixelTrayIcon(picture);
    }
    bool modifyIcon(WindowHandle window, void* icon, std::u16string_view tip) override {
        TrayState& s = state();
        std::lock_guard lock(s.mutex);
        Headless::TrayIconRecord record;
        record.action = Headless::TrayIconRecord::Action::Modify;
        record.window = window;
        record.identifier = TrayIconIdentifier;
        record.callbackMessage = TrayIconCallbackMessage;
        record.icon = icon;
        record.tip = std::u16string(tip.substr(0, TrayIconTipLength));
        record.accepted = std::find(s.shown.begin(), s.shown.end(), window) != s.shown.end();
        s.records.push_back(record);
        return record.accepted;
    }
    bool removeIcon(WindowHandle window) override {
        TrayState& s = state();
        std::lock_guard lock(s.mutex);
        Headless::TrayIconRecord record;
        record.action = Headless::TrayIconRecord::Action::Delete;
        record.window = window;
        record.identifier = TrayIconIdentifier;
        auto found = std::find(s.shown.begin(), s.shown.end(), window);
        record.accepted = found != s.shown.end();
        if (record.accepted) s.shown.erase(found);
        s.records.push_back(record);
        return record.accepted;
    }
    bool setMenu(WindowHandle window, const std::vector<TrayMenuItem>& menu) override {
        TrayState& s = state();
        std::lock_guard lock(s.mutex);
        s.menus.push_back({window, menu});
        return false;
    }
};

}  // namespace

std::vector<Headless::TrayIconRecord> Headless::trayIconRecords() {
    std::lock_guard lock(state().mutex);
    return state().records;
}

std::vector<WindowHandle> Headless::trayIconWindows() {
    std::lock_guard lock(state().mutex);
    return state().shown;
}

std::vector<Headless::TrayMenuRecord> Headless::trayMenuRecords() {
    std::lock_guard lock(state().mutex);
    return state().menus;
}

void Headless::resetTrayIcons() {
    std::lock_guard lock(state().mutex);
    state().records.clear();
    state().menus.clear();
    state().shown.clear();
}

std::unique_ptr<TrayIconService> Headless::makeTrayIconService() {
    return std::make_unique<HeadlessTrayIconService>();
}

}  // namespace Arbor::Platform
