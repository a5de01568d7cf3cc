#include "framework/Speech/SpeechRecognitionEngine.h"

#include <filesystem>
#include <system_error>

#include "framework/Platform/Library.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/Window.h"

namespace Arbor::Speech::Recognition {

namespace {

std::u16string joinPath(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    if (!path.empty() && path.back() != u'\\' && path.back() != u'/') path += u'\\';
    path += name;
    return path;
}

// The recogniser is a library of the host system: it gets paths in the host's own form.
std::u16string hostPath(std::u16string_view systemPath) { return Platform::toNativePath(systemPath).u16string(); }

bool fileExists(std::u16string_view systemPath) {
    std::error_code ec;
    return std::filesystem::is_regular_file(Platform::toNativePath(systemPath), ec);
}

}  // namespace

SpeechRecognitionEngine& SpeechRecognitionEngine::instance() {
    // Never destroyed: the exit sequence shuts it down on the user-interface thread,
    // which owns its window; a destructor at process end would run too late for that.
    static SpeechRecognitionEngine* engine = new SpeechRecognitionEngine;
    return *engine;
}

SpeechRecognitionEngine::~SpeechRecognitionEngine() { shutdown(); }

std::u16string_view SpeechRecognitionEngine::libraryFileName() {
#if defined(_WIN32)
    return u"JuliusLib_x64.dll";
#else
    return u"JuliusLib_x64.so";
#endif
}

template <typename Operation>
Operation SpeechRecognitionEngine::operation(int position) const {
    return reinterpret_cast<Operation>(recognizer_->operations[position]);
}

bool SpeechRecognitionEngine::load(std::u16string_view speechFolder) {
    std::lock_guard guard(lock_);
    if (recognizer_ != nullptr) return true;
    unloadLocked();

    Platform::LibraryService& libraries = Platform::libraryService();
    library_ = libraries.load(joinPath(speechFolder, libraryFileName()));
    if (library_ == Platform::LibraryHandle::None) return false;
    const auto create = libraries.function<RecognizerCreate>(library_, "create");
    destroy_ = libraries.function<RecognizerDestroy>(library_, "destroy");
    if (create == nullptr) {
        unloadLocked();
        return false;
    }
    recognizer_ = create();
    // An object without a table (or a library that cannot take it back) is unusable.
    if (recognizer_ == nullptr || recognizer_->operations == nullptr) {
        if (recognizer_ != nullptr && destroy_ != nullptr) destroy_(recognizer_);
        recognizer_ = nullptr;
        unloadLocked();
        return false;
    }

    Platform::WindowDescription description;
    description.className = u"SpeechRecognition";
    description.title = u"SpeechRecognition";
    description.bounds = Platform::Rect{-50000, -50000, -50000 + 1, -50000 + 1};
    description.style = Platform::WS_POPUP;
    description.exStyle = Platform::WS_EX_TOOLWINDOW;
    description.procedure = [this](Platform::WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam) -> std::optional<std::intptr_t> {
        if (message != recognitionMessage) return std::nullopt;
        if (wParam == recognitionWParam && lParam != 0) {
            enqueue(std::u16string(reinterpret_cast<const char16_t*>(lParam)));
        }
        return 0;
    };
    window_ = Platform::windowService().create(description);
    return true;
}

bool SpeechRecognitionEngine::startUp(std::u16string_view speechFolder) {
    if (!load(speechFolder)) return false;
    configure(u"");
    const std::u16string configuration = hostPath(joinPath(joinPath(speechFolder, u"dictation"), u"main.jconf"));
    std::lock_guard guard(lock_);
    if (recognizer_ == nullptr) return false;
    if (!operation<InitializeOperation>(RecognizerPosition::initialize)(recognizer_, configuration.c_str())) {
        unloadLocked();
        return false;
    }
    return true;
}

bool SpeechRecognitionEngine::hasRecognizer() const {
    std::lock_guard guard(lock_);
    return recognizer_ != nullptr;
}

bool SpeechRecognitionEngine::initialize(std::u16string_view configurationPath) {
    std::lock_guard guard(lock_);
    if (recognizer_ == nullptr) return false;
    const std::u16string path = hostPath(configurationPath);
    return operation<InitializeOperation>(RecognizerPosition::initialize)(recognizer_, path.c_str());
}

bool SpeechRecognitionEngine::start() {
    std::lock_guard guard(lock_);
    if (recognizer_ == nullptr || started_) return false;
    void* window = reinterpret_cast<void*>(static_cast<std::uintptr_t>(window_));
    started_ = operation<StartOperation>(RecognizerPosition::start)(recognizer_, window);
    return started_;
}

void SpeechRecognitionEngine::stop() {
    std::lock_guard guard(lock_);
    if (recognizer_ == nullptr || !started_) return;
    operation<StopOperation>(RecognizerPosition::stop)(recognizer_);
    started_ = false;
}

bool SpeechRecognitionEngine::isStarted() const {
    std::lock_guard guard(lock_);
    return started_;
}

void SpeechRecognitionEngine::configure(std::u16string_view text) {
    std::lock_guard guard(lock_);
    if (recognizer_ == nullptr) return;
    const std::u16string value(text);
    operation<ConfigureOperation>(RecognizerPosition::configure)(recognizer_, value.c_str());
}

bool SpeechRecognitionEngine::grammarPairExists(std::u16string_view basePath) const {
    const std::u16string base(basePath);
    return fileExists(base + u".dfa") && fileExists(base + u".dict");
}

bool SpeechRecognitionEngine::addGrammar(std::u16string_view name, std::u16string_view basePath) {
    std::lock_guard guard(lock_);
    if (recognizer_ == nullptr || name.empty() || !grammarPairExists(basePath)) return false;
    const std::u16string n(name), b = hostPath(basePath);
    return operation<AddGrammarOperation>(RecognizerPosition::addGrammar)(recognizer_, n.c_str(), b.c_str(), 0);
}

bool SpeechRecognitionEngine::changeGrammar(std::u16string_view name, std::u16string_view basePath) {
    std::lock_guard guard(lock_);
    if (recognizer_ == nullptr || name.empty() || !grammarPairExists(basePath)) return false;
    const std::u16string n(name), b = hostPath(basePath);
    return operation<ChangeGrammarOperation>(RecognizerPosition::changeGrammar)(recognizer_, n.c_str(), b.c_str());
}

bool SpeechRecognitionEngine::deleteGrammar(std::u16string_view name) {
    std::lock_guard guard(lock_);
    if (recognizer_ == nullptr) return false;
    const std::u16string n(name);
    return operation<GrammarOperation>(RecognizerPosition::deleteGrammar)(recognizer_, n.c_str());
}

bool SpeechRecognitionEngine::deactivateGrammar(std::u16string_view name) {
    std::lock_guard guard(lock_);
    if (recognizer_ == nullptr) return false;
    const std::u16string n(name);
    return operation<GrammarOperation>(RecognizerPosition::deactivateGrammar)(recognizer_, n.c_str());
}

bool SpeechRecognitionEngine::activateGrammar(std::u16string_view name) {
    std::lock_guard guard(lock_);
    if (recognizer_ == nullptr) return false;
    const std::u16string n(name);
    return operation<GrammarOperation>(RecognizerPosition::activateGrammar)(recognizer_, n.c_str());
}

void SpeechRecognitionEngine::shutdown() {
    {
        std::lock_guard guard(lock_);
        if (recognizer_ != nullptr && started_) {
            operation<StopOperation>(RecognizerPosition::stop)(recognizer_);
            started_ = false;
        }
        unloadLocked();
        if (window_ != Platform::WindowHandle::None) {
            Platform::windowService().destroy(window_);
            window_ = Platform::WindowHandle::None;
        }
    }
    std::lock_guard guard(queueLock_);
    queue_.clear();
}

void SpeechRecognitionEngine::unloadLocked() {
    if (recognizer_ != nullptr && destroy_ != nullptr) destroy_(recognizer_);
    recognizer_ = nullptr;
    destroy_ = nullptr;
    started_ = false;
    if (library_ != Platform::LibraryHandle::None) {
        Platform::libraryService().unload(library_);
        library_ = Platform::LibraryHandle::None;
    }
}

std::optional<std::u16string> SpeechRecognitionEngine::takeText() {
    std::lock_guard guard(queueLock_);
    if (queue_.empty()) return std::nullopt;
    std::u16string text = std::move(queue_.front());
    queue_.pop_front();
    return text;
}

std::u16string SpeechRecognitionEngine::takeTextOrEmpty() { return takeText().value_or(std::u16string()); }

std::size_t SpeechRecognitionEngine::queuedTexts() const {
    std::lock_guard guard(queueLock_);
    return queue_.size();
}

void SpeechRecognitionEngine::enqueue(std::u16string text) {
    std::lock_guard guard(queueLock_);
    queue_.push_back(std::move(text));
}

Platform::WindowHandle SpeechRecognitionEngine::window() const {
    std::lock_guard guard(lock_);
    return window_;
}

}  // namespace Arbor::Speech::Recognition
