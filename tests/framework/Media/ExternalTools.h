#pragma once
// Runs other programs (sox, the project's own tool) for the sound tests.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace ExternalTools {

#if defined(_WIN32)
inline const char* nullDevice() { return "NUL"; }
#else
inline const char* nullDevice() { return "/dev/null"; }
#endif

inline std::string quote(const std::filesystem::path& p) { return "\"" + p.string() + "\""; }

// Runs a shell command line; true when it exits with 0.
inline bool run(const std::string& command) { return std::system(command.c_str()) == 0; }

// Runs a command line and gives its standard output (empty when it failed).
inline bool runCapture(const std::string& command, const std::filesystem::path& scratch, std::string& output) {
    const auto file = scratch / "captured.txt";
    const int rc = std::system((command + " > " + quote(file) + " 2>" + nullDevice()).c_str());
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    output = text.str();
    return rc == 0;
}

inline bool haveSox() {
    static const bool present = run(std::string("sox --version > ") + nullDevice() + " 2>&1");
    return present;
}

inline std::vector<std::uint8_t> readAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeAll(const std::filesystem::path& p, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace ExternalTools
