#pragma once
// A character's balloons, by name, with their stacking order and the queue of balloon
// calls. Made with the character: it creates "#bal00" and one balloon for every
// BalloonName its balloon orders give. The balloons are siblings of the character in
// the scene tree (its parent holds them); the manager keeps them attached there and
// deletes them with itself.
//
// Names: the empty name stands for "#bal00"; "ALL" means every balloon (in name order;
// for BalloonToTop in stacking order) where the operation allows it; an unknown name
// does nothing.
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Source/GameComponent/CharacterBalloons.h"
#include "Source/Interpreter/BalloonControl.h"

namespace Quenta::GameComponent {

class BalloonObject;
class CharacterObject;

class BalloonManager : public CharacterBalloons, public Interpreter::BalloonControl {
public:
    static constexpr std::u16string_view kDefaultBalloon = u"#bal00";
    static constexpr std::u16string_view kAll = u"ALL";
    // Balloons stand this far in front of their character.
    static constexpr double kZOffset = 0.0001;

    // Throws ScriptException when a BalloonName field fails.
    explicit BalloonManager(CharacterObject& character);
    ~BalloonManager() override;
    BalloonManager(const BalloonManager&) = delete;
    BalloonManager& operator=(const BalloonManager&) = delete;

    // The balloon of that name ("" is "#bal00"), or null.
    BalloonObject* find(std::u16string_view name) const;
    BalloonObject& getOrCreate(std::u16string_view name);
    // Every balloon in name order.
    void forEach(const std::function<void(BalloonObject&)>& fn) const;
    const std::vector<BalloonObject*>& stacking() const { return stacking_; }
    std::size_t pendingCalls() const;
    // A balloon that is being deleted leaves the manager.
    void forget(BalloonObject& balloon);

    // --- CharacterBalloons ------------------------------------------------------------------
    void callRequest(const Interpreter::TokenLine* callBalloonList) override;
    void processRequests() override;
    void setZOrder(double characterZOrder) override;
    void setScale(double scale) override;
    void setAlpha(double alpha) override;
    void setNoActivate(bool on) override;
    void setTopmost(bool on) override;
    void requestRestack() override;
    void show() override;
    void hide() override;
    void setMuted(bool muted) override;
    void dockTo(GameObject& newParent) override;

    // --- BalloonControl (the balloon built-ins) --------------------------------------------
    void createBalloon(std::u16string_view name) override;
    void callBalloon(std::u16string_view orderName) override;
    void openBalloon(std::u16string_view name, int sizeStep, int opacityStep) override;
    void closeBalloon(std::u16string_view name, int sizeStep, int opacityStep, Interpreter::TokenLine commands) override;
    void terminateBalloon(std::u16string_view name) override;
    void moveBalloon(std::u16string_view name, double x, double y) override;
    int balloonFrameNumber(std::u16string_view name) override;
    void setBalloonFrameNumber(std::u16string_view name, int frame) override;
    void postSetBalloonFrameNumber(std::u16string_view name, int frame) override;
    int textLineNumber(std::u16string_view balloon, std::u16string_view layer) override;
    void setTextLineNumber(std::u16string_view balloon, std::u16string_view layer, int line) override;
    void postSetTextLineNumber(std::u16string_view balloon, std::u16string_view layer, int line) override;
    void balloonToTop(std::u16string_view name) override;

    // The process-wide balloon request lock (the call queues of every character).
    static std::mutex& requestLock();

private:
    // The balloons a name addresses: one, or all of them for "ALL" when allowed.
    std::vector<BalloonObject*> addressed(std::u16string_view name, bool allowAll) const;
    // Hands new balloons to the character's parent once it has one.
    void attachNew();
    void applySettings(BalloonObject& balloon);

    CharacterObject& character_;
    std::map<std::u16string, BalloonObject*, std::less<>> balloons_;
    std::vector<BalloonObject*> stacking_;
    // Balloons not yet in the scene tree (the character had no parent when they were made).
    std::vector<std::unique_ptr<BalloonObject>> unattached_;
    std::vector<std::u16string> calls_;  // under requestLock()
    // Balloons run orders while their character is active, as it is from the start.
    bool active_ = true;
    bool muted_ = false;
    bool noActivate_ = true;
    bool topmost_ = false;
    double zOrder_ = 0.0;
    bool deleting_ = false;
};

}  // namespace Quenta::GameComponent
