#pragma once
// The clipboard's text. On X11 the program owns the CLIPBOARD selection and serves it
// from the backend's event thread until another client takes it.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace Arbor::Platform {

class ClipboardService {
public:
    virtual ~ClipboardService() = default;
    // Replaces the clipboard's content by the text.
    virtual bool setText(std::u16string_view text) = 0;
    // The clipboard's text; nothing when it holds none or cannot be read.
    virtual std::optional<std::u16string> text() = 0;
};

ClipboardService& clipboardService();

}  // namespace Arbor::Platform
