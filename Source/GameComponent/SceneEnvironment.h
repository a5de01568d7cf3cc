#pragma once
// What the scene needs of the program around it, set once by start-up (and by tests):
// where the characters' data and saved values live, the speech recogniser, the fatal
// error path and the launched-program list. GameComponent sits below the application,
// so these come in as plain values and callbacks.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace Arbor::Speech::Recognition {
class SpeechRecognitionEngine;
}

namespace Quenta::GameComponent {

struct SceneEnvironment {
    // The program directory (its Data folder holds the characters).
    std::filesystem::path programDirectory;
    // Where "Params" with the characters' value-store files goes.
    std::filesystem::path writableBase;
    // The recogniser the characters' speech built-ins drive; null when there is none.
    Arbor::Speech::Recognition::SpeechRecognitionEngine* speechEngine = nullptr;
    // Ends the program with the error box (script and definition errors). When it
    // returns (tests), the failing step is abandoned and the scene goes on.
    std::function<void(std::u16string_view message)> fatalError;
    // Brings the windows of programs that scripts launched to the front.
    std::function<void()> bringProgramsToFront;
    // Asks the program to quit (the main window's close request).
    std::function<void()> beginQuitting;

    static SceneEnvironment& current();
    // Reports a fatal error through the current environment (or nowhere).
    static void reportFatalError(std::u16string_view message);
};

}  // namespace Quenta::GameComponent
