#include "Source/Application/Application.h"

#include <clocale>
#include <cstdio>

#include "Source/Application/ApplicationIdentity.h"
#include "Source/Application/CharacterList.h"
#include "Source/Application/FatalError.h"
#include "Source/Application/HeadlessRun.h"
#include "Source/Application/InstanceCheck.h"
#include "Source/Common/FrameEnvironment.h"
#include "Source/Common/MainThread.h"
#include "Source/Common/ProcessManager.h"
#include "Source/Common/SnapshotTimer.h"
#include "Source/Data/Repository/VoiceCommandUpgrade.h"
#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/CharacterRegistry.h"
#include "Source/GameComponent/DesktopObject.h"
#include "Source/GameComponent/MainObject.h"
#include "Source/GameComponent/SceneEnvironment.h"
#include "Source/GameComponent/UiThreadWindows.h"
#include "framework/Numeric/GlobalRandom.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/Process.h"
#include "framework/Platform/Session.h"
#include "framework/Platform/Window.h"
#include "framework/Speech/SpeechRecognitionEngine.h"

namespace Quenta::Application {

namespace {
constexpr int predecessorWaitMilliseconds = 10000;
}

Application::Application(CommandLine commandLine, ApplicationDirectories directories, ApplicationState& state)
    : commandLine_(std::move(commandLine)), directories_(std::move(directories)), state_(state) {}

Application::~Application() = default;

int Application::run() {
    // A headless run sets its desktop, clock and random source up before anything
    // reads them; a malformed events file stops it before the first frame.
    if (commandLine_.headless) {
        std::string error;
        headlessRun_ = HeadlessRun::create(commandLine_, state_, error);
        if (!headlessRun_) {
            std::fprintf(stderr, "tavizo: %s\n", error.c_str());
            return 2;
        }
        headlessRun_->prepare();
    } else if (commandLine_.seed) {
        Arbor::Numeric::globalRandom().seed(*commandLine_.seed);
    }
    // The launched-program list exists before start-up, so that nothing a script
    // starts can escape the close-all of the exit sequence.
    processes_ = std::make_unique<Common::ProcessManager>();
    if (!startUp()) {
        Arbor::Platform::messageQueueService().postQuitMessage(0);
        state_.stopMessageLoop();
    }
    // The notification-area icon, with the display name as its tip.
    if (mainObject_) mainObject_->addTrayIcon(nullptr, ApplicationIdentity::displayName);
    mainThread_->start();
    int exitCode = messageLoop();
    exitSequence();
    if (headlessRun_ && !headlessRun_->finish() && exitCode == 0) exitCode = 1;
    return exitCode;
}

bool Application::startUp() {
    // Every window of the scene is made on this thread, also when the frame thread
    // builds its object.
    windows_ = std::make_unique<GameComponent::UiThreadWindows>();
    // The frame thread exists from here on but runs only after start-up.
    environment_ = std::make_unique<Common::PlatformFrameEnvironment>(
        Arbor::Platform::messageQueueService().currentThreadId());
    mainThread_ = std::make_unique<Common::MainThread>(*environment_, state_, GameComponent::DesktopObject::instance());
    mainThread_->setFrameLimit(commandLine_.frameLimit);
    if (headlessRun_) {
        mainThread_->setFrameHooks(headlessRun_.get());
        mainThread_->setPaced(headlessRun_->paced());
    }

    // Clock and memory snapshots now and every 500 ms on this thread.
    snapshotTimer_ = std::make_unique<Common::SnapshotTimer>();

    // Voice-command files of the old template version are upgraded before any script
    // reads them: the folder the voice data has always had, and the main character's.
    for (const char* folder : {"Veldtmoss", "MAIN_OBJECT"}) {
        Data::Repository::upgradeVoiceCommandFiles(directories_.writableBase() / "Data" / folder);
    }

    // Speech recognition is optional: without the library (or when it will not
    // initialise) the program runs without it, silently.
    Arbor::Speech::Recognition::SpeechRecognitionEngine::instance().startUp(
        Arbor::Platform::fromNativePath(directories_.speechRecognitionDirectory()));

    // What the scene needs of the program: directories, the recogniser, the fatal
    // error box, the launched programs and quitting.
    GameComponent::SceneEnvironment& scene = GameComponent::SceneEnvironment::current();
    scene.programDirectory = directories_.programDirectory();
    scene.writableBase = directories_.writableBase();
    scene.speechEngine = &Arbor::Speech::Recognition::SpeechRecognitionEngine::instance();
    scene.fatalError = [](std::u16string_view message) { FatalError::raise(message); };
    scene.bringProgramsToFront = [processes = processes_.get()] { processes->bringToFront(); };
    scene.beginQuitting = [this] { state_.beginQuitting(); };
    GameComponent::ViewObject::setObjectWindowTitle(ApplicationIdentity::objectWindowTitle());

    // The main window exists before the instance check so that it counts there; every
    // other character's window is owned by it.
    mainObject_ = &GameComponent::DesktopObject::instance().adopt(
        std::make_unique<GameComponent::MainObject>(ApplicationIdentity::mainWindowTitle()));
    GameComponent::ViewObject::setOwnerWindow(mainObject_->window());

    if (!waitForPredecessor()) return false;
    if (InstanceCheck::run(directories_.dataDirectory()) != InstanceCheckResult::Passed) return false;
    loadCharacters();
    return true;
}

bool Application::waitForPredecessor() {
    if (commandLine_.waitTerminateProcessId == 0) return true;
    Arbor::Platform::ProcessService& processes = Arbor::Platform::processService();
    Arbor::Platform::ProcessHandle predecessor;
    // A process that cannot be opened has already ended.
    if (!processes.openProcess(commandLine_.waitTerminateProcessId, predecessor)) return true;
    const int result = processes.waitForProcess(predecessor, predecessorWaitMilliseconds);
    processes.closeProcess(predecessor);
    return result != Arbor::Platform::ProcessService::TimedOut;
}

void Application::loadCharacters() {
    mainThread_->publishSystemVariables(true);
    // The main window had to exist for the instance check; its character loads now
    // that the check has found data to load.
    mainObject_->load();
    GameComponent::DesktopObject& desktop = GameComponent::DesktopObject::instance();
    for (const std::u16string& name : CharacterList::read(directories_.dataDirectory())) {
        if (name == u"MAIN_OBJECT") continue;
        desktop.adopt(std::make_unique<GameComponent::CharacterObject>(name));
    }
    // start() runs script code in the full system; collect first so that nothing it
    // does to the registry disturbs the walk.
    std::vector<GameComponent::CharacterObject*> characters;
    GameComponent::CharacterRegistry::instance().forEach(
        [&](GameComponent::CharacterObject& c) { characters.push_back(&c); });
    for (GameComponent::CharacterObject* c : characters) c->start();
    Arbor::Platform::windowService().setForeground(mainObject_->window());
}

int Application::messageLoop() {
    std::setlocale(LC_ALL, "");
    Arbor::Platform::MessageQueueService& queue = Arbor::Platform::messageQueueService();
    Arbor::Platform::Message message;
    int exitCode = 0;
    while (state_.messageLoopRunning()) {
        const int got = queue.getMessage(message);
        if (got == 0) {
            exitCode = static_cast<int>(message.wParam);
            break;
        }
        if (got < 0) break;
        queue.translateMessage(message);
        queue.dispatchMessage(message);
    }
    return exitCode;
}

void Application::exitSequence() {
    // The frame thread goes first: everything below tears down what its frames use.
    // (It normally has stopped itself already, right after posting the quit message.)
    // A frame may be waiting for an answer from this thread (a window it asked for),
    // so keep answering sent requests until the thread has ended.
    mainThread_->requestStop();
    Arbor::Platform::MessageQueueService& queue = Arbor::Platform::messageQueueService();
    while (mainThread_->isExecuting()) {
        Arbor::Platform::Message message;
        while (queue.peekMessage(message)) queue.dispatchMessage(message);
        queue.waitMessage(10);
    }
    mainThread_->stopAndJoin();
    // Close-all: programs that scripts launched are asked to close; bounded wait.
    processes_.reset();
    Arbor::Speech::Recognition::SpeechRecognitionEngine::instance().shutdown();
    GameComponent::DesktopObject::instance().deleteChildren();
    mainObject_ = nullptr;
    windows_.reset();
    mainThread_.reset();
    snapshotTimer_.reset();
    environment_.reset();
    performSystemAction(state_.systemAction());
}

bool Application::performSystemAction(SystemAction action) {
    if (action == SystemAction::None) return false;
    Arbor::Platform::SessionService& session = Arbor::Platform::sessionService();
    if (!session.enableShutdownPrivilege()) return false;
    return session.exitSystem(static_cast<std::uint32_t>(action), 0);
}

}  // namespace Quenta::Application
