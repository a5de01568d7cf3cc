// Message boxes are recorded for tests and written to standard error, one line each,
// so that a program run without a display still tells why it stopped.
#include <cstdio>
#include <string>

#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Headless/HeadlessServices.h"
#include "framework/Platform/MessageBox.h"
#include "framework/Text/Utf.h"

namespace Arbor::Platform {

namespace {

class HeadlessMessageBoxService : public MessageBoxService {
public:
    int show(WindowHandle owner, std::u16string_view text, std::u16string_view caption,
             std::uint32_t type) override {
        Headless::MessageBoxRecord record;
        record.owner = owner;
        record.text = std::u16string(text);
        record.caption = std::u16string(caption);
        record.type = type;
        const int reply = Headless::HeadlessDesktop::instance().recordMessageBox(record);
        const std::string line = Text::toUtf8(caption) + ": " + Text::toUtf8(text) + "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fflush(stderr);
        return reply;
    }
};

}  // namespace

std::unique_ptr<MessageBoxService> Headless::makeMessageBoxService() {
    return std::make_unique<HeadlessMessageBoxService>();
}

}  // namespace Arbor::Platform
