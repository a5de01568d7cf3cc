#pragma once
// Where the program finds its files and where it may write them. Everything follows
// from the executable's own location: the program directory holds Data/ and
// SpeechRecognition/; the writable base is the program directory when a file can be
// created there and the install step has not marked it as the system's (INSTALLED),
// else the per-user folder <application data>/Ostrel/Tavizo.
#include <filesystem>
#include <functional>

namespace Quenta::Application {

class ApplicationDirectories {
public:
    // Answers whether files can be created in a directory. Replaceable so that tests
    // can model read-only media even when they run with rights that ignore modes.
    using WritabilityCheck = std::function<bool(const std::filesystem::path&)>;

    // programDirectory: the folder of the executable. applicationData: the user's
    // application-data folder (empty when the system has none).
    ApplicationDirectories(std::filesystem::path programDirectory, std::filesystem::path applicationData,
                           WritabilityCheck check = &takesWrites);

    const std::filesystem::path& programDirectory() const { return programDirectory_; }
    std::filesystem::path dataDirectory() const { return programDirectory_ / "Data"; }
    std::filesystem::path speechRecognitionDirectory() const { return programDirectory_ / "SpeechRecognition"; }

    // <application data>/Ostrel/Tavizo (what a script asking for its data folder gets).
    std::filesystem::path perUserDirectory() const;

    // Tested anew on every call: media can become read-only while the program runs.
    std::filesystem::path writableBase() const;

    // The system's test: a uniquely named "TMP..." file is created there, opened again
    // for reading and writing, and removed; true only if all of that worked.
    static bool isWritableDirectory(const std::filesystem::path& directory);

    // The default check: writable as above and not an installed program directory.
    static bool takesWrites(const std::filesystem::path& directory);

    // The folder of the running executable: where the system says the executable is,
    // else the path the process was started with (argv[0]) made absolute.
    static std::filesystem::path programDirectoryOf(const std::filesystem::path& argv0);

private:
    std::filesystem::path programDirectory_;
    std::filesystem::path applicationData_;
    WritabilityCheck check_;
};

}  // namespace Quenta::Application
