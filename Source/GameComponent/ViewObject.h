#pragma once
// A scene object that can own a top-level per-pixel-alpha window (a LayeredWidget),
// receives window input through the listener interfaces, and keeps alpha, topmost
// state, cursor and redraw bookkeeping. Characters and balloons derive from it.
//
// Threads: the listeners run on the user-interface thread and only append to the
// input queue (under the process-wide input lock) or act on the application messages
// the frame thread posts (+4 menu request, +5 cursor). Everything else is frame-thread
// state. Window stacking happens in the restack step of a frame.
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "Source/GameComponent/GameObject.h"
#include "framework/Gui/LayeredWidget.h"
#include "framework/Gui/ListenerInterfaces.h"
#include "framework/Platform/Types.h"

namespace Arbor::Graphics {
class BufferedImage;
}
namespace Arbor::Platform {
class NativeCursor;
}

namespace Quenta::GameComponent {

class CharacterObject;

// One window input event, as the listeners queue it for the frame thread.
struct InputEvent {
    enum Kind : int { CursorEntered = 0, ButtonDown = 1, ButtonUp = 2, MenuItem = 3, MenuPopup = 4 };
    int kind = CursorEntered;
    Arbor::Gui::Widget* widget = nullptr;  // the widget that received it
    double x = 0.0;                        // window-relative point
    double y = 0.0;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// The application messages the frame thread posts to a character's window.
inline constexpr std::uint32_t kAppMessageBase = 0x8000;
inline constexpr std::uint32_t kTrayIconMessage = kAppMessageBase + 2;
inline constexpr std::uint32_t kMenuRequestMessage = kAppMessageBase + 4;
inline constexpr std::uint32_t kCursorMessage = kAppMessageBase + 5;

// A popup-menu request handed over with application message + 4 (lParam: the packed
// screen position): the receiving window's object shows the named menu of `object`.
struct MenuRequest {
    class ViewObject* object = nullptr;
    std::u16string menuName;
};

class ViewObject : public GameObject,
                   public Arbor::Gui::OnAppListener,
                   public Arbor::Gui::OnQueryEndSessionListener,
                   public Arbor::Gui::OnEndSessionListener,
                   public Arbor::Gui::OnCursorEnterListener,
                   public Arbor::Gui::OnResolutionChangeListener,
                   public Arbor::Gui::OnMenuItemListener,
                   public Arbor::Gui::OnAcceleratorListener,
                   public Arbor::Gui::OnMouseMoveListener,
                   public Arbor::Gui::OnMouseDownListener,
                   public Arbor::Gui::OnMouseUpListener,
                   public Arbor::Gui::OnMouseDoubleClickListener,
                   public Arbor::Gui::OnCaptureChangedListener,
                   public Arbor::Gui::OnInitMenuPopupListener,
                   public Arbor::Gui::OnWomDoneListener {
public:
    // Creates the own widget (non-activating, titled `windowTitle`, owned by the main
    // object's window when one exists) and registers the listeners on it. Hand the
    // object to its parent with adopt().
    explicit ViewObject(const std::u16string& windowTitle = objectWindowTitle());
    ~ViewObject() override;

    std::u16string className() const override { return u"ViewObject"; }

    // --- GameObject -------------------------------------------------------------
    void inputPhase() override;
    void renderPhase() override;
    void attachTo(GameObject& parent) override;
    Arbor::Graphics::PaintDevice* ownSurface() override;
    bool isView() const override { return true; }
    // Characters (and the main object) draw their composed image; plain views do not.
    virtual bool isCharacter() const { return false; }
    void setHidden() override;
    double zOrder() const override;
    void setScale(double s) override;
    void setZOrder(double z) override;
    bool setBounds(double x, double y, double w, double h) override;
    using GameObject::setBounds;

    // --- ViewObject ---------------------------------------------------------------
    // The own widget while the object draws into its own window, else null.
    virtual Arbor::Gui::LayeredWidget* activeWidget() const { return activeWidget_; }
    Arbor::Gui::LayeredWidget* ownWidget() const { return widget_.get(); }
    virtual Arbor::Graphics::BufferedImage* composedImage() { return nullptr; }
    virtual void invalidateImage() {}
    virtual void markImageComposed() {}
    virtual bool isImageComposed() const { return false; }
    virtual bool needsComposing() const { return false; }
    // Clears drawn; without an active widget, asks the nearest enclosing character
    // that has one.
    virtual void requestRedraw();
    virtual void markDrawn() { drawn_ = true; }
    virtual bool isDrawn() const { return drawn_; }
    virtual bool needsDraw() const { return !drawn_; }
    virtual void moveTo(double x, double y) { setPosition(x, y); }
    virtual bool isMenuOpen() const;
    virtual void setNoActivate(bool on);
    // Queues (parent, this) on the restack queue.
    virtual void requestRestack();
    virtual void setTopmost();
    virtual void clearTopmost();
    virtual bool isTopmost() const { return topmost_; }
    virtual double alpha() const { return alpha_; }
    virtual void setAlpha(double a);

    // Input handlers (frame thread, from the input phase). Points are relative to the
    // handling object's top-left corner.
    virtual void onCursorEnter(ViewObject& receiver, const InputEvent& event);
    virtual void onMenuItem(ViewObject& receiver, const InputEvent& event);
    virtual void onMenuPopup(ViewObject& receiver, const InputEvent& event);
    virtual void onLeftButtonDown(ViewObject& receiver, const InputEvent& event);
    virtual void onRightButtonDown(ViewObject& receiver, const InputEvent& event);
    virtual void onLeftButtonUp(ViewObject& receiver, const InputEvent& event);
    virtual void onRightButtonUp(ViewObject& receiver, const InputEvent& event);
    // User-interface thread: shows a requested popup menu (characters, with menus).
    virtual void showMenuRequest(ViewObject& receiver, const MenuRequest& request, int screenX, int screenY);

    // The object hit at a point relative to `object`'s corner, or null (see hitTest).
    static ViewObject* hitTest(GameObject& object, double x, double y);

    // The nearest enclosing character (this one included) that has an active widget.
    ViewObject* windowOwner();
    // Posts application message + 5 to the window this object is shown in: the
    // user-interface thread sets that cursor (null: the standard arrow). The object
    // keeps the cursor alive while it may still be shown.
    void postCursor(std::shared_ptr<const Arbor::Platform::NativeCursor> cursor);
    // Posts application message + 4: show `menuName` of this object at a desktop point.
    void postMenuRequest(const std::u16string& menuName, double desktopX, double desktopY);

    // Appends an input event (any thread; the input lock is taken).
    void queueInput(const InputEvent& event);
    std::size_t pendingInput() const;

    // The cursor the user-interface thread last set for this object (null: arrow).
    std::shared_ptr<const Arbor::Platform::NativeCursor> cursor() const;

    // The title every view window but the main object's carries; set by start-up.
    static const std::u16string& objectWindowTitle();
    static void setObjectWindowTitle(std::u16string title);
    // The main object's window: the owner of every view window made afterwards.
    static Arbor::Platform::WindowHandle ownerWindow();
    static void setOwnerWindow(Arbor::Platform::WindowHandle window);
    // The process-wide input lock of every view object's queue.
    static std::mutex& inputLock();

    // --- listeners (user-interface thread) --------------------------------------------
    void onAppMessage(Arbor::Gui::Widget& sender, const Arbor::Gui::WindowMessage& message) override;
    void onQueryEndSession(Arbor::Gui::Widget&, const Arbor::Gui::WindowMessage&) override {}
    void onEndSession(Arbor::Gui::Widget&, const Arbor::Gui::WindowMessage&) override {}
    void onCursorEnter(Arbor::Gui::Widget& sender, const Arbor::Gui::WindowMessage& message) override;
    void onResolutionChange(Arbor::Gui::Widget& sender, const Arbor::Gui::WindowMessage& message) override;
    void onMenuItem(Arbor::Gui::Widget& sender, const Arbor::Gui::WindowMessage& message) override;
    void onAccelerator(Arbor::Gui::Widget&, const Arbor::Gui::WindowMessage&) override {}
    void onMouseMove(Arbor::Gui::Widget&, const Arbor::Gui::WindowMessage&) override {}
    void onMouseDown(Arbor::Gui::Widget& sender, const Arbor::Gui::WindowMessage& message) override;
    void onMouseUp(Arbor::Gui::Widget& sender, const Arbor::Gui::WindowMessage& message) override;
    void onMouseDoubleClick(Arbor::Gui::Widget& sender, const Arbor::Gui::WindowMessage& message) override;
    void onCaptureChanged(Arbor::Gui::Widget&, const Arbor::Gui::WindowMessage&) override {}
    void onInitMenuPopup(Arbor::Gui::Widget& sender, const Arbor::Gui::WindowMessage& message) override;
    void onWomDone(Arbor::Gui::Widget&, const Arbor::Gui::WindowMessage&) override {}

protected:
    // Window stacking after attachTo (and two frames after a character was docked):
    // siblings in front are stacked above this window, front first.
    void restackWindows();
    // Own window or the enclosing character's, decided at construction and attachTo.
    void decideWindowOwnership();
    // Handles one queued event (hit test, dispatch by kind).
    void dispatchInput(const InputEvent& event);
    // The popup menu window while a menu of this object is open.
    Arbor::Platform::WindowHandle menuWindow_ = Arbor::Platform::WindowHandle::None;

private:
    std::unique_ptr<Arbor::Gui::LayeredWidget> widget_;
    Arbor::Gui::LayeredWidget* activeWidget_ = nullptr;
    double alpha_ = 1.0;
    bool topmost_ = false;
    bool drawn_ = false;
    std::deque<InputEvent> inputQueue_;
    // Cross-thread hand-over of the application messages + 4 and + 5.
    mutable std::mutex postLock_;
    std::shared_ptr<const Arbor::Platform::NativeCursor> cursorToSet_;
    std::shared_ptr<const Arbor::Platform::NativeCursor> cursor_;
    std::deque<MenuRequest> menuRequests_;
};

}  // namespace Quenta::GameComponent
