#pragma once
// The recogniser's configuration file (the host calls it dictation/main.jconf): one
// setting per line, "KEY VALUE"; blank lines and lines starting with "#" are skipped.
//   model DIR            the acoustic model folder
//   dictionary FILE      the model's pronunciation dictionary
//   input SOURCE         "default" (the default capture device), or a WAV file or a
//                        FIFO carrying a WAV stream (16-bit mono at the model's rate)
//   min-confidence P     utterances whose best path has a posterior probability
//                        below P (0 to 1) are dropped; default 0. Speech that no
//                        path of the grammar explains gives no text at all.
//   rate HZ              sample rate of the model; default 16000
// Relative paths are taken from the configuration file's folder.
#include <optional>
#include <string>

namespace PocketSphinxPlugin {

struct RecognizerConfiguration {
    std::string model;
    std::string dictionary;
    std::string input = "default";
    double minConfidence = 0.0;
    int rate = 16000;
};

std::optional<RecognizerConfiguration> readConfiguration(const std::string& path, std::string& error);

}  // namespace PocketSphinxPlugin
