#pragma once
// One character on the desktop: a view object built from one entry of the Data
// folder, with its definition, its Parser (it is the Parser's ScriptOwner), its
// current order, its balloons and menus (through the seams CharacterBalloons and
// CharacterMenus), its sound player and the composed image it shows in its window.
//
// Threads: requestOrder and postCommand may be called from any thread; everything
// else runs on the frame thread (or on the user-interface thread during start-up,
// before the frame thread exists).
#include <atomic>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Source/GameComponent/CharacterCommand.h"
#include "Source/GameComponent/OrderRequest.h"
#include "Source/GameComponent/ViewObject.h"
#include "Source/Interpreter/KeyMacroQueue.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/SceneCharacter.h"
#include "Source/Interpreter/ScopeNode.h"
#include "Source/Interpreter/ScriptOwner.h"
#include "Source/Interpreter/ValueStore.h"
#include "Source/Interpreter/WordRecognition.h"
#include "Source/Script/F/DefinitionData.h"
#include "Source/Script/F/RecordViews.h"

namespace Arbor::Graphics {
class BufferedImage;
}
namespace Arbor::Media {
class Audio;
}
namespace Arbor::Secure {
class ResourceCache;
}

namespace Quenta::GameComponent {

class CharacterBalloons;
class CharacterMenus;
class OrderObject;
class ScriptObject;

enum class LifeState : int { Running = 0, TerminationRequested = 1, Terminating = 2, Terminated = 3 };

class CharacterObject : public ViewObject, public Interpreter::ScriptOwner, public Interpreter::SceneCharacter {
public:
    // Builds the character of the Data entry `name` (construction steps 1 to 7). Hand
    // it to its parent (the desktop) with adopt(). Definition and configuration errors
    // go to the fatal error path (SceneEnvironment). The main object passes its own
    // window title.
    explicit CharacterObject(std::u16string name, const std::u16string& windowTitle = objectWindowTitle());
    ~CharacterObject() override;

    std::u16string className() const override { return u"CharacterObject"; }
    const std::u16string& name() const { return name_; }

    // --- GameObject / ViewObject overrides ---------------------------------------------
    void inputPhase() override;
    void updatePhase() override;
    void motionPhase() override;
    void animationPhase() override;
    void renderPhase() override;
    void adoptScriptThread() override;
    bool isTransparentAt(double x, double y) const override;
    void setScale(double s) override;
    void setZOrder(double z) override;
    void setAlpha(double a) override;
    void setNoActivate(bool on) override;
    void requestRestack() override;
    void setTopmost() override;
    void clearTopmost() override;
    Arbor::Graphics::BufferedImage* composedImage() override { return composed_.get(); }
    // Also requests a redraw.
    void invalidateImage() override;
    void markImageComposed() override { imageComposed_ = true; }
    bool isImageComposed() const override { return imageComposed_; }
    bool needsComposing() const override { return !imageComposed_; }
    void onCursorEnter(ViewObject& receiver, const InputEvent& event) override;
    void onMenuItem(ViewObject& receiver, const InputEvent& event) override;
    void onMenuPopup(ViewObject& receiver, const InputEvent& event) override;
    void onLeftButtonDown(ViewObject& receiver, const InputEvent& event) override;
    void onRightButtonDown(ViewObject& receiver, const InputEvent& event) override;
    void onLeftButtonUp(ViewObject& receiver, const InputEvent& event) override;
    void onRightButtonUp(ViewObject& receiver, const InputEvent& event) override;
    void showMenuRequest(ViewObject& receiver, const MenuRequest& request, int screenX, int screenY) override;
    // Session end: the frame thread runs the exit code at once and this waits for it.
    void onQueryEndSession(Arbor::Gui::Widget& sender, const Arbor::Gui::WindowMessage& message) override;
    using ViewObject::onCursorEnter;
    using ViewObject::onMenuItem;

    // --- what the order objects use ------------------------------------------------------
    Interpreter::Parser& parser() { return *parser_; }
    Script::DefinitionData& definition() { return *definition_; }
    Arbor::Secure::ResourceCache& resources() { return *cache_; }
    // The root of the character's parameter tree (parent of "obj", "box", "target" and
    // of every pushed scope while the character's code runs).
    Interpreter::ScopeNode& scopeRoot() { return rootScope_; }
    Interpreter::ScopeNode& objNode() { return *obj_; }
    Interpreter::ScopeNode& boxNode() { return *box_; }
    Interpreter::ScopeNode& targetNode() { return *target_; }
    // The configuration (the INITIAL_REG block's values).
    const Script::InitialRecordView& configuration() const { return configuration_; }
    bool debugMode() const { return configuration_.debugMode; }
    // The current order; null before the first order is selected.
    OrderObject* currentOrder() const { return order_.get(); }
    // Named objects of the current order, by FuncName (emptied at every order change).
    void enterNamedObject(const std::u16string& name, ScriptObject* object);
    ScriptObject* namedObject(std::u16string_view name) const;
    void clearNamedObjects() { namedObjects_.clear(); }
    // Any thread.
    void requestOrder(OrderRequest request);
    std::size_t pendingOrderRequests() const;
    void startDragging() { dragging_ = true; }
    void stopDragging() { dragging_ = false; }
    bool isDragging() const { return dragging_; }
    Arbor::Media::Audio& soundPlayer() { return *soundPlayer_; }
    // The balloon seam (null until a balloon manager is installed).
    CharacterBalloons* balloons() const { return balloons_.get(); }
    void setBalloons(std::unique_ptr<CharacterBalloons> balloons);
    CharacterMenus* menus() const { return menus_.get(); }
    void setMenus(std::unique_ptr<CharacterMenus> menus);
    // ScriptOwner: the menus of the menu seam.
    Interpreter::ScriptMenus* scriptMenus() override;
    // The cursor position relative to the parent's (or pending parent's) absolute
    // position, divided by the scale, as "obj.MouseX"/"obj.MouseY" publish it.
    double mouseX() const;
    double mouseY() const;
    // Publishes "obj" and "box" (every update phase and before each order change).
    void publishObject();
    void publishBox() override;

    // --- character operations --------------------------------------------------------------
    // Runs the first INITIAL_REG block's CodeInit and sets shown.
    virtual void start();
    void dockTo(GameObject& newParent);
    GameObject* pendingParent() const { return pendingParent_; }
    void setBaseX(double x) override;
    void setBaseY(double y) override;
    void setBasePosition(double x, double y) override;
    double baseX() const;
    double baseY() const;
    void setFrameNumber(int n) override;
    void backIntoDesktop() override;
    virtual void terminate();
    virtual void beginTermination();
    virtual void runExitOrder();
    void finishTermination();
    void showCharacter() override;
    void hideCharacter() override;
    bool isActive() const { return active_; }
    void muteSounds() override;
    void unmuteSounds() override;
    bool areSoundsMuted() const override { return muted_; }
    LifeState lifeState() const { return lifeState_.load(); }
    // Selects an order by name (only while active); a missing name is a script error.
    void selectOrder(const std::u16string& orderName);
    // Any thread.
    void postCommand(CharacterCommand command) override;
    std::size_t pendingCommands() const;

    // Accessors for reports (the headless trace): FuncName of the current order
    // (empty when none), absolute position, size, shown, life state.
    std::u16string currentOrderName() const override;
    double absoluteLeft() const { return absoluteX(); }
    double absoluteTop() const { return absoluteY(); }

    // --- ScriptOwner ---------------------------------------------------------------------
    std::u16string ownerName() const override { return name_; }
    std::u16string objectId() const override { return configuration_.objectId; }
    std::filesystem::path dataDirectory() const override;
    Interpreter::ValueStore* valueStore() override { return &store_; }
    std::filesystem::path valueStoreFile() const override;
    Interpreter::VariableTable* variableTable() override { return &parser_->variables(); }
    Interpreter::WordRecognitionTrees* wordRecognitionTrees() override { return &wordTrees_; }
    Interpreter::KeyMacroQueue* keyMacroQueue() override { return &keyMacros_; }
    Arbor::Speech::Recognition::SpeechRecognitionEngine* speechEngine() override;
    Interpreter::SceneCharacter* sceneCharacter() override { return this; }
    // Its balloon manager (the balloon built-ins).
    Interpreter::BalloonControl* balloonControl() override;

    // --- SceneCharacter ------------------------------------------------------------------
    void forEachCharacter(const std::function<void(Interpreter::SceneCharacter&)>& fn) override;
    Interpreter::SceneCharacter* findCharacter(std::u16string_view objectId) override;
    Interpreter::ScriptOwner& scriptOwner() override { return *this; }
    std::u16string groupId() const override { return configuration_.groupId; }
    std::u16string objectIdText() const override { return configuration_.objectId; }
    void postEvent(std::u16string orderName, int dragMode, std::u16string soundName,
                   Interpreter::TokenBlock code) override;
    std::u16string parentObjectId() const override;
    bool dockTo(std::u16string_view objectId) override;
    void setNoActivateFromScript(bool on) { setNoActivate(on); }
    bool isShowing() const override { return isShown(); }
    double basePosX() const override;
    double basePosY() const override;
    double scale() const override { return ViewObject::scale(); }
    double alpha() const override { return ViewObject::alpha(); }
    double zOrder() const override { return ViewObject::zOrder(); }
    int frameNumber() const override;
    bool playOneShot(std::u16string_view soundName) override;
    bool isTopmost() const override { return ViewObject::isTopmost(); }
    bool loadImage(std::u16string_view name) override;
    bool loadFontFile(std::u16string_view name) override;
    bool rotateImage(std::u16string_view layerName, double centreX, double centreY, double angle) override;

    // The process-wide order-request lock (held only to append and to take the list).
    static std::mutex& orderRequestLock();

    // The sampling of the last draw into the window (2 bilinear, 3 area averaging,
    // 0 unscaled; -1 before the first): what the scale chose.
    int lastSampling() const { return lastSampling_; }

    // Runs script code in the character's context; a ScriptException goes to the
    // fatal error path. False when it failed (the fatal handler returned, in tests).
    bool runGuarded(const std::function<void()>& code);

    bool isCharacter() const override { return true; }

protected:
    // Builds everything but the definition (construction steps 1 and 3 to 6, and the
    // script context of step 2); loadDefinition does the rest. The main object's window
    // must exist before the program knows there is any data to load.
    struct DeferLoading {};
    CharacterObject(std::u16string name, const std::u16string& windowTitle, DeferLoading);
    // Loads the definition and runs the configuration (steps 2 and 7); errors go to the
    // fatal error path.
    void loadDefinition();

private:
    void runCommands();
    void takeWinningOrderRequest();
    void carryOut(OrderRequest& request);
    void publishTarget(const OrderRequest& request);
    void drawComposedImage();
    void advanceRestackCounter();
    // Frame thread: runs the exit code a session-end listener asked for.
    void serviceSessionEnd();
    void buttonWentDown();

    std::u16string name_;
    std::unique_ptr<Arbor::Secure::ResourceCache> cache_;
    Interpreter::ValueStore store_;
    Interpreter::WordRecognitionTrees wordTrees_;
    // Key macros sent to the foreground program, one after another (stepped in the
    // input phase).
    Interpreter::KeyMacroQueue keyMacros_;
    std::unique_ptr<Interpreter::Parser> parser_;
    std::unique_ptr<Script::DefinitionData> definition_;
    Script::InitialRecordView configuration_;
    Interpreter::ScopeNode rootScope_{u"chara"};
    Interpreter::ScopeNode* obj_ = nullptr;
    Interpreter::ScopeNode* box_ = nullptr;
    Interpreter::ScopeNode* target_ = nullptr;
    std::unique_ptr<OrderObject> order_;
    std::unique_ptr<CharacterBalloons> balloons_;
    std::unique_ptr<CharacterMenus> menus_;
    std::shared_ptr<Arbor::Media::Audio> soundPlayer_;
    std::unique_ptr<Arbor::Graphics::BufferedImage> composed_;
    std::map<std::u16string, ScriptObject*, std::less<>> namedObjects_;
    bool imageComposed_ = false;
    bool active_ = true;
    bool dragging_ = false;
    bool muted_ = false;
    std::atomic<LifeState> lifeState_{LifeState::Running};
    mutable std::mutex commandLock_;
    std::deque<CharacterCommand> commands_;
    std::vector<OrderRequest> orderRequests_;  // under orderRequestLock()
    GameObject* pendingParent_ = nullptr;
    int restackCounter_ = 0;
    std::atomic<bool> sessionEndRequested_{false};
    int lastSampling_ = -1;
    std::size_t registryNumber_ = 0;
};

}  // namespace Quenta::GameComponent
