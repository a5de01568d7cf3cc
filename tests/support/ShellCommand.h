#pragma once
// What tests that run the built programs through the shell share: quoting an argument
// for the shell that std::system uses, and reading a file the program wrote.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace Testing {

#if defined(_WIN32)
// cmd.exe knows only double quotes; the arguments of these tests hold none.
inline std::string shellQuote(const std::string& s) { return "\"" + s + "\""; }
#else
inline std::string shellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}
#endif

// The whole file as bytes; empty when it cannot be read.
inline std::string readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace Testing
