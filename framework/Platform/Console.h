#pragma once
// Standard output and error of a windowed program. Windows starts such a program
// without them even from a console, so command-line answers (--help, errors, the
// message-box lines of headless runs) would vanish; this connects the streams that
// have nowhere to go to the console of the program that started it, if it has one.
// Streams redirected to a file or a pipe are left as they are. Nothing to do elsewhere.
namespace Arbor::Platform {

void useParentConsole();

}  // namespace Arbor::Platform
