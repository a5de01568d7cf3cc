#pragma once
// The speech recogniser of the process: loads the recogniser library from the
// "SpeechRecognition" folder beside the program, owns the recogniser object it makes,
// and queues the texts it recognises until the frame loop takes them, one per frame.
// Every operation fails quietly (false, nothing) when no recogniser is loaded. Paths
// are taken as system paths and handed to the recogniser in the host's own form.
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "framework/Platform/Types.h"
#include "framework/Speech/RecognizerAbi.h"

namespace Arbor::Speech::Recognition {

class SpeechRecognitionEngine {
public:
    static SpeechRecognitionEngine& instance();

    SpeechRecognitionEngine() = default;
    ~SpeechRecognitionEngine();
    SpeechRecognitionEngine(const SpeechRecognitionEngine&) = delete;
    SpeechRecognitionEngine& operator=(const SpeechRecognitionEngine&) = delete;

    // "JuliusLib_x64.dll" on Windows, "JuliusLib_x64.so" elsewhere.
    static std::u16string_view libraryFileName();

    // Loads <folder>\<libraryFileName()> (a system path), asks it for a recogniser and
    // creates the hidden window that receives its texts. True when a recogniser exists.
    // Call on the thread that pumps messages: the window belongs to it.
    bool load(std::u16string_view speechFolder);

    // The start-up sequence: load, configure with the empty string, then initialise
    // with <folder>\dictation\main.jconf; when initialisation fails, the recogniser is
    // destroyed and the library unloaded. True when a recogniser is ready.
    bool startUp(std::u16string_view speechFolder);

    bool hasRecognizer() const;

    bool initialize(std::u16string_view configurationPath);
    // Starts recognition (once); the recogniser then sends texts to the hidden window.
    bool start();
    void stop();
    bool isStarted() const;
    void configure(std::u16string_view text);
    // A grammar is a pair of files: basePath + ".dfa" and basePath + ".dict"; add and
    // change refuse an empty name or a pair that is not there.
    bool addGrammar(std::u16string_view name, std::u16string_view basePath);
    bool changeGrammar(std::u16string_view name, std::u16string_view basePath);
    bool deleteGrammar(std::u16string_view name);
    bool deactivateGrammar(std::u16string_view name);
    bool activateGrammar(std::u16string_view name);

    // Stops recognition if it runs, destroys the recogniser, unloads the library,
    // destroys the window and empties the queue. Call on the thread that loaded it.
    void shutdown();

    // The oldest recognised text, or nothing when none waits.
    std::optional<std::u16string> takeText();
    // What the frame loop uses: the oldest text, or the empty text.
    std::u16string takeTextOrEmpty();
    std::size_t queuedTexts() const;
    // Appends a text to the queue, as the hidden window does when a text arrives.
    void enqueue(std::u16string text);

    Platform::WindowHandle window() const;

private:
    template <typename Operation>
    Operation operation(int position) const;
    void unloadLocked();
    bool grammarPairExists(std::u16string_view basePath) const;

    // Serialises the operations; the queue has its own lock because the window's
    // thread fills it while the frame thread drains it.
    mutable std::recursive_mutex lock_;
    Platform::LibraryHandle library_ = Platform::LibraryHandle::None;
    RecognizerObject* recognizer_ = nullptr;
    RecognizerDestroy destroy_ = nullptr;
    Platform::WindowHandle window_ = Platform::WindowHandle::None;
    bool started_ = false;

    mutable std::mutex queueLock_;
    std::deque<std::u16string> queue_;
};

}  // namespace Arbor::Speech::Recognition
