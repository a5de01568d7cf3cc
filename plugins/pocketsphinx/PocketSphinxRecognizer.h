#pragma once
// A speech recogniser on the PocketSphinx decoder in grammar mode. Every active
// grammar pair becomes one finite-state grammar; a thread reads the configured audio
// source, lets the decoder find utterances, and sends each one whose confidence is
// high enough to the host's window as the recognised text.
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "AudioSource.h"
#include "GrammarPair.h"
#include "RecognizerConfiguration.h"

typedef struct ps_decoder_s ps_decoder_t;

namespace PocketSphinxPlugin {


class PocketSphinxRecognizer {
public:
    PocketSphinxRecognizer() = default;
    ~PocketSphinxRecognizer();
    PocketSphinxRecognizer(const PocketSphinxRecognizer&) = delete;
    PocketSphinxRecognizer& operator=(const PocketSphinxRecognizer&) = delete;

    // Reads the configuration and checks that the model is there; the model itself is
    // loaded on first need (a grammar, or listening). A second call starts afresh.
    bool initialize(const std::string& configurationPath);
    // Opens the audio source and starts the listening thread, which sends texts to
    // `window`. False without a model or when the source cannot be opened.
    bool start(void* window);
    void stop();

    // A grammar is added active; "change" makes it the only grammar.
    bool addGrammar(const std::string& name, const std::string& basePath);
    bool changeGrammar(const std::string& name, const std::string& basePath);
    bool deleteGrammar(const std::string& name);
    bool setGrammarActive(const std::string& name, bool active);

    // Why the last operation failed (for tests and diagnostics).
    const std::string& lastError() const { return error_; }

private:
    struct LoadedGrammar {
        Grammar grammar;
        // Per category, the decoder's names of its words (empty for silent words).
        std::map<std::int32_t, std::vector<std::string>> words;
        bool active = true;
    };

    bool loadGrammarLocked(const std::string& basePath, LoadedGrammar& loaded);
    bool addWordLocked(const GrammarWord& word, std::string& decoderName);
    // Ends a running utterance, then gives the decoder the union of the active grammars.
    bool rebuildSearchLocked();
    void endUtteranceLocked();
    void listen(void* window);
    void send(void* window, const std::string& text);
    bool ensureDecoderLocked();
    void freeDecoder();
    void freeDecoderLocked();

    std::mutex lock_;
    ps_decoder_t* decoder_ = nullptr;
    bool initialized_ = false;
    RecognizerConfiguration configuration_;
    std::map<std::string, LoadedGrammar> grammars_;
    std::map<std::string, std::string> outputs_;  // decoder word -> text shown
    int wordCounter_ = 0;
    bool searchReady_ = false;
    bool inUtterance_ = false;
    bool inSpeech_ = false;
    std::string error_;

    std::unique_ptr<AudioSource> source_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
};

}  // namespace PocketSphinxPlugin
