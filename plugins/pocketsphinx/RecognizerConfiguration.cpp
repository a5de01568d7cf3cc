#include "RecognizerConfiguration.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace PocketSphinxPlugin {

std::optional<RecognizerConfiguration> readConfiguration(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    const auto resolve = [&](const std::string& value) {
        const std::filesystem::path p(value);
        return p.is_absolute() ? value : (folder / p).string();
    };
    RecognizerConfiguration configuration;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream fields(line);
        std::string key;
        if (!(fields >> key) || key.front() == '#') continue;
        std::string value;
        std::getline(fields >> std::ws, value);
        if (key == "model") {
            configuration.model = resolve(value);
        } else if (key == "dictionary") {
            configuration.dictionary = resolve(value);
        } else if (key == "input") {
            configuration.input = value == "default" ? value : resolve(value);
        } else if (key == "min-confidence") {
            configuration.minConfidence = std::strtod(value.c_str(), nullptr);
        } else if (key == "rate") {
            configuration.rate = std::atoi(value.c_str());
        } else {
            error = "unknown setting " + key;
            return std::nullopt;
        }
    }
    if (configuration.model.empty() || configuration.dictionary.empty() || configuration.rate <= 0) {
        error = "the configuration must name a model and its dictionary";
        return std::nullopt;
    }
    return configuration;
}

}  // namespace PocketSphinxPlugin
