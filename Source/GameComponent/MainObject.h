#pragma once
// The character of the "MAIN_OBJECT" entry. Its window is the program's main window
// (the title other copies look for to refuse themselves, and the owner of every other
// view window); it lies behind every other character while its balloons lie in front
// of them, and it owns the notification-area icon.
#include <atomic>
#include <cstdint>
#include <string>

#include "Source/GameComponent/CharacterObject.h"

namespace Quenta::GameComponent {

class MainObject : public CharacterObject {
public:
    static constexpr double kZOrder = -100000000000.0;  // behind every other character
    static constexpr double kBalloonBoost = 100000000.0;

    // Builds the main character with the main window title on its window (tool-window
    // style). A close request to the window (another program or the system asking the
    // program to end) begins quitting (SceneEnvironment) instead of destroying it.
    // The definition is loaded by load(), once start-up knows there is data.
    explicit MainObject(const std::u16string& mainWindowTitle);
    // Loads the "MAIN_OBJECT" definition and runs its configuration.
    void load() { loadDefinition(); }
    ~MainObject() override;

    std::u16string className() const override { return u"MainObject"; }

    // Its own z-order stays behind everything; the value goes to its balloons, raised
    // by 10^8.
    void setZOrder(double z) override;
    double zOrder() const override;

    // Start-up step 11: the notification-area icon with the display name as its tip
    // (an icon already added is removed first). False when the system refused.
    bool addTrayIcon(void* icon, std::u16string_view tip);
    bool hasTrayIcon() const { return trayIcon_; }

    // After the character's own update: hands "MainMenu" to the tray's panel when it
    // changed (frame thread).
    void updatePhase() override;

    Arbor::Platform::WindowHandle window() const;

    // Application messages: + 2 the tray icon's clicks, + 4 and + 5 as every view.
    void onAppMessage(Arbor::Gui::Widget& sender, const Arbor::Gui::WindowMessage& message) override;

private:
    class CloseListener;
    std::unique_ptr<CloseListener> closeListener_;
    // Desktops whose panel draws the icon's menu get "MainMenu" whenever it changed.
    void publishTrayMenu();

    std::atomic<bool> trayIcon_{false};
    bool trayMenuPublished_ = false;
    std::uint64_t trayMenuChanges_ = 0;
};

}  // namespace Quenta::GameComponent
