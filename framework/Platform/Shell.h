#pragma once
// The desktop shell: opening documents, programs and URLs the way the user's desktop
// does, and finding the program registered for a kind of link. Win32 asks the shell
// and the classes-root keys; Linux asks xdg-open and xdg-mime; the headless backend
// records every request and answers the handlers tests set.
#include <memory>
#include <string>
#include <string_view>

namespace Arbor::Platform {

class ShellService {
public:
    virtual ~ShellService() = default;
    // The shell's "open" of a file, folder, program or URL with optional parameters,
    // in a normal window. False when the request could not even be handed over; what
    // the opened program then does is not reported.
    virtual bool open(std::u16string_view target, std::u16string_view parameters) = 0;
    // The full path of the executable that opens links of the scheme ("http",
    // "mailto"); empty when none is registered or it cannot be found.
    virtual std::u16string defaultHandlerExecutable(std::u16string_view scheme) = 0;
};

ShellService& shellService();

// The program a registered open command names: the text between its first two double
// quotes when that text ends in ".exe" (any case); empty otherwise, also when the
// command holds fewer than two quotes.
std::u16string executableOfOpenCommand(std::u16string_view command);

}  // namespace Arbor::Platform
