#pragma once
// The one exception of the script subsystem. It carries the complete message text
// (UTF-16), shown as is by whoever catches it; no position is added.
#include <exception>
#include <string>

namespace Quenta::Interpreter {

class ScriptException : public std::exception {
public:
    explicit ScriptException(std::u16string message);

    const std::u16string& message() const noexcept { return message_; }
    // The message as UTF-8, for logs and the command-line tool.
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    std::u16string message_;
    std::string utf8_;
};

}  // namespace Quenta::Interpreter
