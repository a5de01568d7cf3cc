#if !defined(_WIN32)
#include "framework/Platform/Posix/DesktopEntry.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <system_error>
#include <vector>

#include "framework/Platform/Posix/XdgPaths.h"

namespace Arbor::Platform::Posix {

namespace {

// The escapes of string values: \s \n \t \r \\.
std::string unescapeValue(std::string_view raw) {
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\' || i + 1 == raw.size()) {
            out += raw[i];
            continue;
        }
        const char c = raw[++i];
        out += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    }
    return out;
}

std::string trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::filesystem::path> applicationDirs() {
    std::vector<std::filesystem::path> dirs;
    if (auto home = xdgDataHome(); !home.empty()) dirs.push_back(home / "applications");
    for (const auto& dir : xdgDataDirs()) dirs.push_back(dir / "applications");
    return dirs;
}

bool isExecutableFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string DesktopEntry::value(const std::string& key) const {
    auto it = keys.find(key);
    return it == keys.end() ? std::string() : it->second;
}

std::optional<DesktopEntry> readDesktopEntry(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    DesktopEntry entry;
    bool inGroup = false, found = false;
    std::string line;
    while (std::getline(in, line)) {
        const std::string text = trim(line);
        if (text.empty() || text[0] == '#') continue;
        if (text[0] == '[') {
            inGroup = text == "[Desktop Entry]";
            found = found || inGroup;
            continue;
        }
        const auto equals = text.find('=');
        if (!inGroup || equals == std::string::npos) continue;
        const std::string key = trim(std::string_view(text).substr(0, equals));
        if (!entry.keys.contains(key)) entry.keys.emplace(key, unescapeValue(trim(std::string_view(text).substr(equals + 1))));
    }
    if (!found) return std::nullopt;
    return entry;
}

std::string execProgram(std::string_view exec) {
    std::size_t i = exec.find_first_not_of(' ');
    if (i == std::string_view::npos) return {};
    std::string program;
    if (exec[i] == '"') {
        // Inside quotes a backslash escapes ", `, $ and itself.
        for (++i; i < exec.size() && exec[i] != '"'; ++i) {
            if (exec[i] == '\\' && i + 1 < exec.size()) ++i;
            program += exec[i];
        }
        return program;
    }
    for (; i < exec.size() && exec[i] != ' '; ++i) program += exec[i];
    return program;
}

std::filesystem::path findExecutable(const std::string& program) {
    if (program.empty()) return {};
    if (program.find('/') != std::string::npos) {
        return program[0] == '/' && isExecutableFile(program) ? std::filesystem::path(program) : std::filesystem::path();
    }
    const char* path = std::getenv("PATH");
    const std::string list = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        const std::string dir = list.substr(start, end - start);
        if (!dir.empty() && dir[0] == '/' && isExecutableFile(std::filesystem::path(dir) / program)) {
            return std::filesystem::path(dir) / program;
        }
        start = end + 1;
    }
    return {};
}

std::filesystem::path findDesktopFile(std::string_view id) {
    if (id.empty() || id.find('/') != std::string_view::npos || id.starts_with(".")) return {};
    std::error_code ec;
    for (const auto& dir : applicationDirs()) {
        // "a-b-c.desktop" may live as a-b-c.desktop, a/b-c.desktop, a/b/c.desktop, ...
        std::string candidate(id);
        for (std::size_t i = 0;; ++i) {
            if (std::filesystem::is_regular_file(dir / candidate, ec)) return dir / candidate;
            const auto dash = candidate.find('-', i);
            if (dash == std::string::npos) break;
            candidate[dash] = '/';
            i = dash;
        }
    }
    return {};
}

std::string nameOfEntryStarting(const std::filesystem::path& executable) {
    if (executable.empty()) return {};
    std::error_code ec;
    for (const auto& dir : applicationDirs()) {
        std::filesystem::recursive_directory_iterator it(dir, ec), end;
        for (; !ec && it != end; it.increment(ec)) {
            if (it->path().extension() != ".desktop" || !it->is_regular_file(ec)) continue;
            const auto entry = readDesktopEntry(it->path());
            if (!entry) continue;
            const std::string program = execProgram(entry->value("Exec"));
            if (program.empty()) continue;
            const auto found = findExecutable(program);
            if (found == executable || std::filesystem::weakly_canonical(found, ec) == executable) {
                return entry->value("Name");
            }
        }
        ec.clear();
    }
    return {};
}

}  // namespace Arbor::Platform::Posix
#endif
