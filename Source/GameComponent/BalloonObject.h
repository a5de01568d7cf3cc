#pragma once
// A speech balloon of a character: a view object with its own window (a sibling of its
// character in the scene tree), running one balloon order at a time. Opening and
// closing are animated by transitions (size and opacity percentages) queued by scripts
// and text; the balloon grows out of and shrinks into its order's popup anchor. Text
// layers of the order type their text into the balloon's surface; links in the text
// answer the pointer.
//
// Everything runs on the frame thread; only the transition queue is guarded (by the
// process-wide balloon transition lock), because scripts of other phases queue on it.
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "Source/GameComponent/BalloonOrderObject.h"
#include "Source/GameComponent/BalloonTransition.h"
#include "Source/GameComponent/ScriptObject/TextLayerHost.h"
#include "Source/GameComponent/ViewObject.h"
#include "Source/Interpreter/ScopeNode.h"

namespace Arbor::Graphics {
class BufferedImage;
}

namespace Quenta::GameComponent {

class BalloonManager;
class CharacterObject;

class BalloonObject : public ViewObject, public TextLayerHost {
public:
    // The image surface starts at 256 x 256 and grows to each order's size.
    static constexpr int kInitialSurfaceSide = 256;
    enum CallType : int { Normal = 0, Wait = 1, Force = 2 };

    BalloonObject(BalloonManager& manager, CharacterObject& character, std::u16string name);
    ~BalloonObject() override;

    std::u16string className() const override { return u"BalloonObject"; }
    const std::u16string& name() const { return name_; }
    CharacterObject& character() const { return character_; }

    // --- what the manager does with it ------------------------------------------------
    // Active: the balloon may run orders and, when open, is shown. Inactive: hidden.
    void setActive(bool on);
    bool isActive() const { return active_; }
    bool isOpen() const { return open_; }
    // A text layer still runs or a transition is queued.
    bool isBusy() const;
    // A call of an order (the call-type rule decides while the balloon is busy).
    void receiveCall(const std::u16string& orderName, int callType);
    // Starts the order at once. Throws ScriptException.
    void startOrder(const std::u16string& orderName);
    void queueTransition(std::unique_ptr<BalloonTransition> transition);
    // Transitions dropped, typing stopped; the balloon stays as it is.
    void terminate();
    void moveOrder(double x, double y);
    int frameNumber() const;
    void setFrameNumber(int n);
    BalloonOrderObject& order() { return *order_; }
    const BalloonOrderObject& order() const { return *order_; }
    const std::u16string& pendingOrder() const { return pending_; }
    std::size_t queuedTransitions() const;
    // The size and opacity percentages now (100 when no transition runs).
    int openPercent() const;
    int opacityPercent() const;
    Arbor::Graphics::BufferedImage& surface() { return *surface_; }

    // --- frame phases ----------------------------------------------------------------------
    void inputPhase() override;
    void updatePhase() override;
    void renderPhase() override;
    bool isTransparentAt(double x, double y) const override;
    void setHidden() override;

    // --- pointer -----------------------------------------------------------------------------
    void onCursorEnter(ViewObject& receiver, const InputEvent& event) override;
    void onLeftButtonDown(ViewObject& receiver, const InputEvent& event) override;
    void onLeftButtonUp(ViewObject& receiver, const InputEvent& event) override;
    using ViewObject::onCursorEnter;

    // --- TextLayerHost -----------------------------------------------------------------------
    void requestTextRedraw() override;
    void openFromText(int sizeStep, int opacityStep) override;
    void closeFromText(int sizeStep, int opacityStep) override;
    void setLinkCursor(bool overLink) override;

private:
    // A point of the balloon (relative to its corner) in its surface's pixels.
    std::pair<double, double> surfacePoint(double x, double y) const;
    void runOrderCode(const std::function<void()>& code);
    void publishPosition();
    void placeWindow(double sizeFactor);
    void applyFrontTransition();
    void releaseButton();
    void drawSurface();

    BalloonManager& manager_;
    CharacterObject& character_;
    std::u16string name_;
    Interpreter::ScopeNode scope_{u"bal"};
    std::unique_ptr<BalloonOrderObject> order_;
    std::unique_ptr<Arbor::Graphics::BufferedImage> surface_;
    bool active_ = false;
    bool open_ = false;
    bool buttonHeld_ = false;
    bool composed_ = false;
    std::u16string pending_;
    std::deque<std::unique_ptr<BalloonTransition>> transitions_;  // under the transition lock
};

// The process-wide balloon transition lock.
std::mutex& balloonTransitionLock();

}  // namespace Quenta::GameComponent
