// Construction, start, commands and termination of a character.
#include "Source/GameComponent/CharacterObject.h"

#include "Source/GameComponent/BalloonManager.h"

#include <chrono>
#include <condition_variable>

#include "Source/GameComponent/CharacterBalloons.h"
#include "Source/GameComponent/CharacterMenus.h"
#include "Source/GameComponent/ScriptObject/MenuManager.h"
#include "Source/GameComponent/CharacterRegistry.h"
#include "Source/GameComponent/OrderObject.h"
#include "Source/GameComponent/SceneEnvironment.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Interpreter/StatementRunner.h"
#include "Source/Script/F/DefinitionLoader.h"
#include "Source/Script/F/RecordEvaluation.h"
#include "framework/Graphics/BufferedImage.h"
#include "framework/Media/WaveOutAudio.h"
#include "framework/Platform/NativePath.h"
#include "framework/Secure/ResourceCache.h"

namespace Quenta::GameComponent {

namespace {
constexpr int kComposedSide = 256;
}

CharacterObject::CharacterObject(std::u16string name, const std::u16string& windowTitle)
    : CharacterObject(std::move(name), windowTitle, DeferLoading{}) {
    loadDefinition();
}

CharacterObject::CharacterObject(std::u16string name, const std::u16string& windowTitle, DeferLoading)
    : ViewObject(windowTitle), name_(std::move(name)) {
    // Step 2: the resource cache, the script context and the order. The definition
    // itself comes with loadDefinition; until then the character has no records.
    const SceneEnvironment& environment = SceneEnvironment::current();
    cache_ = std::make_unique<Arbor::Secure::ResourceCache>(
        Arbor::Secure::ResourceCache::dataFolderFor(Arbor::Platform::fromNativePath(environment.programDirectory),
                                                    name_),
        std::u16string(Arbor::Secure::kPackagePassword));
    parser_ = std::make_unique<Interpreter::Parser>(this);
    parser_->setScope(&rootScope_);
    definition_ = std::make_unique<Script::DefinitionData>();
    parser_->setFunctionObjects(&definition_->functionObjects());
    order_ = std::make_unique<OrderObject>(*this);

    // Step 3: the named objects and the composed image.
    obj_ = &rootScope_.addChild(u"obj");
    box_ = &rootScope_.addChild(u"box");
    target_ = &rootScope_.addChild(u"target");
    composed_ = std::make_unique<Arbor::Graphics::BufferedImage>(kComposedSide, kComposedSide);

    // Step 4: the menu manager and the sound player (the queues are members; balloons
    // and menus are seams). The menus exist before the configuration runs, which may
    // build them.
    menus_ = std::make_unique<MenuManager>(this);
    soundPlayer_ = std::make_shared<Arbor::Media::WaveOutAudio>();

    // Step 5.
    registryNumber_ = CharacterRegistry::instance().size();
    CharacterRegistry::instance().add(*this);

    // Step 6.
    publishObject();
    publishTarget(OrderRequest{});
}

void CharacterObject::loadDefinition() {
    try {
        definition_ = Script::loadDefinition(*cache_, store_, valueStoreFile());
    } catch (const Interpreter::ScriptException& e) {
        SceneEnvironment::reportFatalError(e.message());
        return;
    }
    parser_->setFunctionObjects(&definition_->functionObjects());
    // The balloons ("#bal00" and those the balloon orders name).
    if (!runGuarded([&] { balloons_ = std::make_unique<BalloonManager>(*this); })) return;

    // Step 7: the configuration, the start position and the start order.
    if (!runGuarded([&] {
            configuration_ = Script::readInitialRecord(*parser_, definition_->initialRecord(),
                                                       static_cast<int>(registryNumber_));
        })) {
        return;
    }
    obj_->setString(u"GroupID", configuration_.groupId);
    obj_->setString(u"ObjectID", configuration_.objectId);
    obj_->setString(u"AppName", configuration_.appName);
    obj_->setString(u"ObjectName", configuration_.objectName);
    obj_->setString(u"Version", configuration_.version);
    obj_->setString(u"Copyright", configuration_.copyright);
    obj_->setNumber(u"X", configuration_.posX);
    obj_->setNumber(u"Y", configuration_.posY);
    order_->setBasePosition(configuration_.posX, configuration_.posY);
    if (configuration_.funcListStart) {
        std::u16string start;
        runGuarded([&] { start = Script::evaluateWeightedPick(*parser_, *configuration_.funcListStart); });
        if (!start.empty()) {
            OrderRequest request;
            request.orderName = std::move(start);
            request.priority = 0;
            requestOrder(std::move(request));
        }
    }
}

CharacterObject::~CharacterObject() {
    // Leave the registry first: from then on no other thread can post a command here.
    CharacterRegistry::instance().remove(*this);
    // Children (docked characters, balloons) may draw into this window or use this
    // script context: they go first, then the order that uses the definition.
    deleteChildren();
    balloons_.reset();
    menus_.reset();
    order_.reset();
    if (soundPlayer_) soundPlayer_->stop();
}

void CharacterObject::adoptScriptThread() {
    parser_->adoptCurrentThread();
    ViewObject::adoptScriptThread();
}

bool CharacterObject::runGuarded(const std::function<void()>& code) {
    try {
        code();
        return true;
    } catch (const Interpreter::ScriptException& e) {
        SceneEnvironment::reportFatalError(e.message());
        return false;
    }
}

void CharacterObject::setBalloons(std::unique_ptr<CharacterBalloons> balloons) { balloons_ = std::move(balloons); }

Interpreter::BalloonControl* CharacterObject::balloonControl() {
    return dynamic_cast<Interpreter::BalloonControl*>(balloons_.get());
}
void CharacterObject::setMenus(std::unique_ptr<CharacterMenus> menus) { menus_ = std::move(menus); }
Interpreter::ScriptMenus* CharacterObject::scriptMenus() { return menus_ ? menus_->scriptMenus() : nullptr; }

std::filesystem::path CharacterObject::dataDirectory() const {
    return Arbor::Platform::toNativePath(cache_->dataFolder());
}

std::filesystem::path CharacterObject::valueStoreFile() const {
    const SceneEnvironment& environment = SceneEnvironment::current();
    if (environment.writableBase.empty()) return {};
    return Interpreter::ValueStore::storeFilePath(environment.writableBase, name_);
}

Arbor::Speech::Recognition::SpeechRecognitionEngine* CharacterObject::speechEngine() {
    return SceneEnvironment::current().speechEngine;
}

void CharacterObject::enterNamedObject(const std::u16string& name, ScriptObject* object) {
    namedObjects_[name] = object;
}

ScriptObject* CharacterObject::namedObject(std::u16string_view name) const {
    const auto it = namedObjects_.find(name);
    return it == namedObjects_.end() ? nullptr : it->second;
}

// --- start --------------------------------------------------------------------------------

namespace {
// Runs a block's CodeInit with a fresh "codeInit" node pushed; nothing without one.
void runCodeInit(Interpreter::Parser& parser, const Script::DefinitionRecord& record) {
    const Interpreter::TokenBlock* code = record.section(Script::SectionKind::CodeInit);
    if (!code) return;
    Interpreter::ScopeNode node(u"codeInit");
    Interpreter::ScopePush push(parser, node);
    Interpreter::runBlock(parser, *code);
}
}  // namespace

void CharacterObject::start() {
    runGuarded([&] { runCodeInit(*parser_, definition_->initialRecord()); });
    setShown();
}

// --- commands --------------------------------------------------------------------------------

void CharacterObject::postCommand(CharacterCommand command) {
    std::lock_guard guard(commandLock_);
    commands_.push_back(std::move(command));
}

std::size_t CharacterObject::pendingCommands() const {
    std::lock_guard guard(commandLock_);
    return commands_.size();
}

void CharacterObject::runCommands() {
    // Take the queue under the lock and run the commands outside it, so that a command
    // may post further commands (they run next frame).
    std::deque<CharacterCommand> pending;
    {
        std::lock_guard guard(commandLock_);
        pending.swap(commands_);
    }
    for (CharacterCommand& command : pending) {
        const Interpreter::TokenBlock block{std::move(command)};
        if (!runGuarded([&] { Interpreter::runBlock(*parser_, block); })) return;
    }
}

// --- termination -------------------------------------------------------------------------------

void CharacterObject::terminate() {
    LifeState expected = LifeState::Running;
    lifeState_.compare_exchange_strong(expected, LifeState::TerminationRequested);
}

void CharacterObject::beginTermination() {
    lifeState_ = LifeState::Terminating;
    std::u16string exitOrder;
    if (active_ && configuration_.funcListExit) {
        runGuarded([&] { exitOrder = Script::evaluateWeightedPick(*parser_, *configuration_.funcListExit); });
    }
    if (exitOrder.empty()) {
        runExitOrder();
        return;
    }
    OrderRequest request;
    request.orderName = std::move(exitOrder);
    request.priority = 10;
    requestOrder(std::move(request));
}

void CharacterObject::runExitOrder() {
    const std::vector<int>& finals = definition_->indexList(Script::RegisterKind::Final);
    if (!finals.empty()) {
        runGuarded([&] { runCodeInit(*parser_, definition_->record(finals.front())); });
    }
    finishTermination();
}

void CharacterObject::finishTermination() {
    muteSounds();
    lifeState_ = LifeState::Terminated;
    hideCharacter();
}

// --- session end ------------------------------------------------------------------------------

namespace {
// The hand-over of a session-end request from the user-interface thread to the frame
// thread, which alone runs the character's scripts once it has started.
struct SessionEndRequest {
    std::mutex lock;
    std::condition_variable done;
};
SessionEndRequest& sessionEnd() {
    static SessionEndRequest* request = new SessionEndRequest;
    return *request;
}
}  // namespace

void CharacterObject::onQueryEndSession(Arbor::Gui::Widget&, const Arbor::Gui::WindowMessage&) {
    if (lifeState() == LifeState::Terminated) return;
    // Before the frame thread has taken the scripts over, this thread still owns them.
    if (parser_->isOwnedByCurrentThread()) {
        runExitOrder();
        return;
    }
    sessionEndRequested_ = true;
    // The system gives a few seconds to answer; the frame thread may itself be waiting
    // for this thread (a window request), so the wait is bounded.
    std::unique_lock guard(sessionEnd().lock);
    sessionEnd().done.wait_for(guard, std::chrono::seconds(5),
                               [&] { return lifeState() == LifeState::Terminated; });
}

void CharacterObject::serviceSessionEnd() {
    if (!sessionEndRequested_.exchange(false)) return;
    if (lifeState() != LifeState::Terminated) runExitOrder();
    std::lock_guard guard(sessionEnd().lock);
    sessionEnd().done.notify_all();
}

}  // namespace Quenta::GameComponent
