#include "PocketSphinxRecognizer.h"

#include <algorithm>
#include <chrono>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include <pocketsphinx.h>
#include <sphinxbase/fsg_model.h>
#include <sphinxbase/glist.h>

#include "AudioSource.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Speech/RecognizerAbi.h"
#include "framework/Text/Utf.h"

namespace PocketSphinxPlugin {

namespace {
constexpr char kSearchName[] = "commands";

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}
std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}
std::string join(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& p : parts) {
        if (!out.empty()) out += ' ';
        out += p;
    }
    return out;
}

// A decoder of the configured model, silent (its log goes nowhere).
ps_decoder_t* makeDecoder(const RecognizerConfiguration& configuration) {
    const std::string rate = std::to_string(configuration.rate);
#if defined(_WIN32)
    const char* const noLog = "NUL";
#else
    const char* const noLog = "/dev/null";
#endif
    cmd_ln_t* config = cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", configuration.model.c_str(), "-dict",
                                   configuration.dictionary.c_str(), "-samprate", rate.c_str(), "-logfn", noLog,
                                   nullptr);
    if (!config) return nullptr;
    ps_decoder_t* decoder = ps_init(config);
    cmd_ln_free_r(config);
    return decoder;
}

}  // namespace

PocketSphinxRecognizer::~PocketSphinxRecognizer() {
    stop();
    freeDecoder();
}

void PocketSphinxRecognizer::freeDecoder() {
    std::lock_guard guard(lock_);
    freeDecoderLocked();
}

void PocketSphinxRecognizer::freeDecoderLocked() {
    if (decoder_) ps_free(decoder_);
    decoder_ = nullptr;
    initialized_ = false;
    grammars_.clear();
    outputs_.clear();
    searchReady_ = inUtterance_ = inSpeech_ = false;
}

bool PocketSphinxRecognizer::initialize(const std::string& configurationPath) {
    stop();
    freeDecoder();
    std::lock_guard guard(lock_);
    const auto configuration = readConfiguration(configurationPath, error_);
    if (!configuration) return false;
    // The model (some 30 MiB once loaded) is loaded when a grammar or listening first
    // needs it, so a host that never listens does not carry it; here its files must
    // at least be there.
    std::error_code ec;
    if (!std::filesystem::is_directory(configuration->model, ec) ||
        !std::filesystem::is_regular_file(configuration->dictionary, ec)) {
        error_ = "the model could not be loaded";
        return false;
    }
    configuration_ = *configuration;
    initialized_ = true;
    return true;
}

bool PocketSphinxRecognizer::ensureDecoderLocked() {
    if (decoder_) return true;
    if (!initialized_) {
        error_ = "not initialised";
        return false;
    }
    decoder_ = makeDecoder(configuration_);
    if (!decoder_) {
        error_ = "the model could not be loaded";
        return false;
    }
    return true;
}

bool PocketSphinxRecognizer::addWordLocked(const GrammarWord& word, std::string& decoderName) {
    decoderName = "w" + std::to_string(++wordCounter_);
    // The grammar's own phones when the model knows them, else the model's dictionary.
    std::string phones = upper(join(word.phones));
    if (!phones.empty() && ps_add_word(decoder_, decoderName.c_str(), phones.c_str(), FALSE) >= 0) return true;
    char* known = ps_lookup_word(decoder_, lower(word.output).c_str());
    if (!known) known = ps_lookup_word(decoder_, word.output.c_str());
    if (!known) {
        error_ = "no pronunciation for the word '" + word.output + "'";
        return false;
    }
    phones = known;
    ckd_free(known);
    if (ps_add_word(decoder_, decoderName.c_str(), phones.c_str(), FALSE) < 0) {
        error_ = "the decoder refused the word '" + word.output + "'";
        return false;
    }
    return true;
}

bool PocketSphinxRecognizer::loadGrammarLocked(const std::string& basePath, LoadedGrammar& loaded) {
    if (!ensureDecoderLocked()) return false;
    auto grammar = readGrammar(basePath, error_);
    if (!grammar) return false;
    loaded.grammar = std::move(*grammar);
    for (const auto& [category, words] : loaded.grammar.categories) {
        for (const GrammarWord& word : words) {
            std::string name;
            if (!word.silent()) {
                if (!addWordLocked(word, name)) return false;
                outputs_[name] = word.output;
            }
            loaded.words[category].push_back(name);
        }
    }
    return true;
}

void PocketSphinxRecognizer::endUtteranceLocked() {
    if (inUtterance_) ps_end_utt(decoder_);
    inUtterance_ = inSpeech_ = false;
}


bool PocketSphinxRecognizer::rebuildSearchLocked() {
    endUtteranceLocked();
    searchReady_ = false;
    std::int32_t states = 2;  // a shared start and a shared final state
    for (const auto& [name, loaded] : grammars_) {
        if (loaded.active) states += loaded.grammar.stateCount;
    }
    if (states == 2) return true;  // nothing to listen for
    const float languageWeight = cmd_ln_float32_r(ps_get_config(decoder_), "-lw");
    fsg_model_t* fsg = fsg_model_init(kSearchName, ps_get_logmath(decoder_), languageWeight, states);
    fsg->start_state = 0;
    fsg->final_state = states - 1;
    std::int32_t offset = 1;
    for (const auto& [name, loaded] : grammars_) {
        if (!loaded.active) continue;
        fsg_model_null_trans_add(fsg, 0, offset, 0);
        for (const std::int32_t f : loaded.grammar.finalStates) fsg_model_null_trans_add(fsg, offset + f, states - 1, 0);
        for (const GrammarTransition& t : loaded.grammar.transitions) {
            for (const std::string& word : loaded.words.at(t.category)) {
                if (word.empty()) {
                    fsg_model_null_trans_add(fsg, offset + t.from, offset + t.to, 0);
                } else {
                    fsg_model_trans_add(fsg, offset + t.from, offset + t.to, 0, fsg_model_word_add(fsg, word.c_str()));
                }
            }
        }
        offset += loaded.grammar.stateCount;
    }
    glist_free(fsg_model_null_trans_closure(fsg, nullptr));
    const bool set = ps_set_fsg(decoder_, kSearchName, fsg) >= 0 && ps_set_search(decoder_, kSearchName) >= 0;
    fsg_model_free(fsg);
    if (!set) {
        error_ = "the decoder refused the grammar";
        return false;
    }
    searchReady_ = true;
    return true;
}

bool PocketSphinxRecognizer::addGrammar(const std::string& name, const std::string& basePath) {
    std::lock_guard guard(lock_);
    LoadedGrammar loaded;
    if (name.empty() || !loadGrammarLocked(basePath, loaded)) return false;
    grammars_[name] = std::move(loaded);
    return rebuildSearchLocked();
}

bool PocketSphinxRecognizer::changeGrammar(const std::string& name, const std::string& basePath) {
    std::lock_guard guard(lock_);
    LoadedGrammar loaded;
    if (name.empty() || !loadGrammarLocked(basePath, loaded)) return false;
    grammars_.clear();
    grammars_[name] = std::move(loaded);
    return rebuildSearchLocked();
}

bool PocketSphinxRecognizer::deleteGrammar(const std::string& name) {
    std::lock_guard guard(lock_);
    if (grammars_.erase(name) == 0) return false;
    return rebuildSearchLocked();
}

bool PocketSphinxRecognizer::setGrammarActive(const std::string& name, bool active) {
    std::lock_guard guard(lock_);
    const auto it = grammars_.find(name);
    if (it == grammars_.end()) return false;
    it->second.active = active;
    return rebuildSearchLocked();
}

bool PocketSphinxRecognizer::start(void* window) {
    stop();
    std::lock_guard guard(lock_);
    if (window == nullptr) {
        error_ = "no window";
        return false;
    }
    if (!ensureDecoderLocked()) return false;
    source_ = openAudioSource(configuration_.input, configuration_.rate, error_);
    if (!source_) return false;
    stopping_ = false;
    thread_ = std::thread([this, window] { listen(window); });
    return true;
}

void PocketSphinxRecognizer::stop() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
    std::lock_guard guard(lock_);
    if (decoder_) endUtteranceLocked();
    source_.reset();
}

void PocketSphinxRecognizer::send(void* window, const std::string& text) {
    // A text sent while stopping could wait for a thread that is busy stopping us.
    if (stopping_ || text.empty()) return;
    const std::u16string wide = Arbor::Text::fromUtf8(text);
    const auto handle = static_cast<Arbor::Platform::WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
    Arbor::Platform::messageQueueService().sendMessage(handle, Arbor::Speech::Recognition::recognitionMessage,
                                                Arbor::Speech::Recognition::recognitionWParam,
                                                reinterpret_cast<std::intptr_t>(wide.c_str()));
}

void PocketSphinxRecognizer::listen(void* window) {
    std::int16_t samples[2048];
    while (!stopping_) {
        const int got = source_->read(samples, 2048);
        if (got == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        std::string heard;
        {
            std::lock_guard guard(lock_);
            if (!searchReady_) {
                if (got < 0) break;
                continue;  // nothing to listen for: the audio is dropped
            }
            bool finished = false;
            if (got > 0) {
                if (!inUtterance_) {
                    ps_start_utt(decoder_);
                    inUtterance_ = true;
                }
                ps_process_raw(decoder_, samples, static_cast<size_t>(got), FALSE, FALSE);
                const bool speaking = ps_get_in_speech(decoder_) != 0;
                finished = inSpeech_ && !speaking;
                inSpeech_ = inSpeech_ || speaking;
            } else {
                finished = inUtterance_;
            }
            if (finished) {
                endUtteranceLocked();
                std::int32_t score = 0;
                const char* hypothesis = ps_get_hyp(decoder_, &score);
                // The posterior probability of the best path through the grammar.
                const double confidence = logmath_exp(ps_get_logmath(decoder_), ps_get_prob(decoder_));
                if (hypothesis && confidence >= configuration_.minConfidence) {
                    std::istringstream words(hypothesis);
                    std::vector<std::string> shown;
                    for (std::string w; words >> w;) {
                        const auto it = outputs_.find(w);
                        if (it != outputs_.end()) shown.push_back(it->second);
                    }
                    heard = join(shown);
                }
            }
        }
        send(window, heard);
        if (got < 0) break;
    }
}

}  // namespace PocketSphinxPlugin
