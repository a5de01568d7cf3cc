#include "GrammarPair.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <set>
#include <sstream>

namespace PocketSphinxPlugin {

namespace {

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
        if (i > start) fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

bool toInt(std::string_view text, std::int32_t& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

template <typename F>
bool forEachLine(std::string_view text, F&& f) {
    std::size_t number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        const auto fields = fieldsOf(line);
        if (fields.empty() || fields[0].front() == '#') continue;
        if (!f(fields, number)) return false;
    }
    return true;
}

bool readFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

}  // namespace

std::optional<Grammar> parseGrammar(std::string_view dfa, std::string_view dict, std::string& error) {
    Grammar grammar;
    std::set<std::int32_t> finals;
    const bool dfaRead = forEachLine(dfa, [&](const std::vector<std::string_view>& f, std::size_t line) {
        GrammarTransition t;
        std::int32_t flags = 0;
        if (f.size() < 4 || !toInt(f[0], t.from) || !toInt(f[1], t.category) || !toInt(f[2], t.to) ||
            !toInt(f[3], flags) || t.from < 0 || t.from >= kMaxGrammarStates || t.category < -1 ||
            (t.category >= 0 && (t.to < 0 || t.to >= kMaxGrammarStates))) {
            error = "automaton line " + std::to_string(line) + " is malformed";
            return false;
        }
        if (flags & 1) finals.insert(t.from);
        grammar.stateCount = std::max(grammar.stateCount, t.from + 1);
        if (t.category >= 0) {
            grammar.stateCount = std::max(grammar.stateCount, t.to + 1);
            grammar.transitions.push_back(t);
        }
        return true;
    });
    if (!dfaRead) return std::nullopt;
    if (finals.empty()) {
        error = "the automaton has no final state";
        return std::nullopt;
    }
    grammar.finalStates.assign(finals.begin(), finals.end());

    const bool dictRead = forEachLine(dict, [&](const std::vector<std::string_view>& f, std::size_t line) {
        std::int32_t category = 0;
        if (f.size() < 2 || !toInt(f[0], category) || category < 0 || f[1].size() < 2 || f[1].front() != '[' ||
            f[1].back() != ']') {
            error = "dictionary line " + std::to_string(line) + " is malformed";
            return false;
        }
        GrammarWord word;
        word.output = std::string(f[1].substr(1, f[1].size() - 2));
        for (std::size_t i = 2; i < f.size(); ++i) word.phones.emplace_back(f[i]);
        grammar.categories[category].push_back(std::move(word));
        return true;
    });
    if (!dictRead) return std::nullopt;
    for (const GrammarTransition& t : grammar.transitions) {
        if (grammar.categories.find(t.category) == grammar.categories.end()) {
            error = "category " + std::to_string(t.category) + " has no words";
            return std::nullopt;
        }
    }
    return grammar;
}

std::optional<Grammar> readGrammar(const std::string& basePath, std::string& error) {
    std::string dfa, dict;
    if (!readFile(basePath + ".dfa", dfa) || !readFile(basePath + ".dict", dict)) {
        error = "cannot read the grammar pair " + basePath;
        return std::nullopt;
    }
    return parseGrammar(dfa, dict, error);
}

}  // namespace PocketSphinxPlugin
