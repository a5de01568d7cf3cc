#include "Source/GameComponent/MainObject.h"

#include "Source/GameComponent/CharacterBalloons.h"
#include "Source/GameComponent/CharacterMenus.h"
#include "Source/GameComponent/CharacterRegistry.h"
#include "Source/GameComponent/DesktopObject.h"
#include "Source/GameComponent/SceneEnvironment.h"
#include "Source/Interpreter/ScriptCommand.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Screen.h"
#include "framework/Platform/TrayIcon.h"
#include "framework/Platform/Window.h"

namespace Quenta::GameComponent {

namespace {
constexpr std::intptr_t kLeftButtonDown = 0x0201;
constexpr std::intptr_t kRightButtonDown = 0x0204;
}  // namespace

// Closing the main window must not destroy it behind the scene's back: quitting goes
// through the characters, which wind down first.
class MainObject::CloseListener : public Arbor::Gui::WidgetEventListener {
public:
    void onWidgetEvent(Arbor::Gui::Widget&, Arbor::Gui::WidgetEvent, const Arbor::Gui::WindowMessage&) override {
        if (const auto& quit = SceneEnvironment::current().beginQuitting) quit();
    }
};

MainObject::MainObject(const std::u16string& mainWindowTitle)
    : CharacterObject(u"MAIN_OBJECT", mainWindowTitle, DeferLoading{}), closeListener_(std::make_unique<CloseListener>()) {
    if (Arbor::Gui::LayeredWidget* widget = ownWidget()) {
        widget->addEventListener(Arbor::Gui::WidgetEvent::Close, closeListener_.get());
        const Arbor::Platform::WindowHandle handle = widget->window().handle();
        if (handle != Arbor::Platform::WindowHandle::None) {
            // A tool window stays off the task bar; the main window owns no one.
            auto& windows = Arbor::Platform::windowService();
            windows.setExStyle(handle, windows.exStyle(handle) | Arbor::Platform::WS_EX_TOOLWINDOW);
            windows.setOwner(handle, Arbor::Platform::WindowHandle::None);
        }
    }
    CharacterRegistry::instance().setMainObject(this);
    setZOrder(0.0);
}

MainObject::~MainObject() {
    if (trayIcon_) Arbor::Platform::trayIconService().removeIcon(window());
}

Arbor::Platform::WindowHandle MainObject::window() const {
    return ownWidget() ? ownWidget()->window().handle() : Arbor::Platform::WindowHandle::None;
}

void MainObject::setZOrder(double z) {
    ViewObject::setZOrder(kZOrder);
    if (balloons()) balloons()->setZOrder(z + kBalloonBoost);
}

double MainObject::zOrder() const { return ViewObject::zOrder(); }

bool MainObject::addTrayIcon(void* icon, std::u16string_view tip) {
    Arbor::Platform::TrayIconService& tray = Arbor::Platform::trayIconService();
    if (trayIcon_) tray.removeIcon(window());
    trayIcon_ = tray.addIcon(window(), icon, tip);
    return trayIcon_;
}

void MainObject::updatePhase() {
    CharacterObject::updatePhase();
    publishTrayMenu();
}

void MainObject::publishTrayMenu() {
    CharacterMenus* menus = this->menus();
    if (!trayIcon_ || !menus) return;
    const std::uint64_t changes = menus->changeCount();
    if (trayMenuPublished_ && changes == trayMenuChanges_) return;
    trayMenuPublished_ = true;
    trayMenuChanges_ = changes;
    // Without "MainMenu" the panel shows an empty menu, as a right click shows none.
    Arbor::Platform::trayIconService().setMenu(window(), menus->describeMenu(u"MainMenu").value_or(
                                                             std::vector<Arbor::Platform::TrayMenuItem>{}));
}

void MainObject::onAppMessage(Arbor::Gui::Widget& sender, const Arbor::Gui::WindowMessage& message) {
    if (message.message != kTrayIconMessage) {
        ViewObject::onAppMessage(sender, message);
        return;
    }
    if (message.lParam == kLeftButtonDown) {
        Arbor::Platform::windowService().setForeground(window());
        if (const auto& bring = SceneEnvironment::current().bringProgramsToFront) bring();
    } else if (message.lParam == kRightButtonDown) {
        // The menu shows at the cursor; the request is handled like one the frame
        // thread posted (the menu manager runs on this thread).
        const Arbor::Platform::Point cursor = Arbor::Platform::screenService().cursorPosition();
        const DesktopObject& desktop = DesktopObject::instance();
        postMenuRequest(u"MainMenu", cursor.x - desktop.originX(), cursor.y - desktop.originY());
        // The sound player belongs to the frame thread: the sound goes there as a command.
        if (!configuration().soundNameRButton.empty()) {
            postCommand(Interpreter::makeCommandLine(
                u"PlayOneShot", std::vector<Interpreter::Token>{Interpreter::Token(
                                    Interpreter::TokenKind::String, 0.0, configuration().soundNameRButton)}));
        }
    }
}

}  // namespace Quenta::GameComponent
