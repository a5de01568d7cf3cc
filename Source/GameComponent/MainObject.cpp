#include "Source/GameComponent/MainObject.h"

#include "Source/GameComponent/DisplayChange.h"
#include "Source/GameComponent/UiThreadWindows.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Window.h"

namespace Quenta::GameComponent {

MainObject::MainObject(const std::u16string& windowTitle, std::function<void()> onCloseRequest)
    : CharacterObject(u"MAIN_OBJECT"), onCloseRequest_(std::make_shared<std::function<void()>>(std::move(onCloseRequest))) {
    Arbor::Platform::WindowDescription description;
    description.className = u"MainObject";
    description.title = windowTitle;
    description.style = Arbor::Platform::WS_POPUP;
    // A tool window stays off the task bar.
    description.exStyle = Arbor::Platform::WS_EX_TOOLWINDOW;
    description.procedure = [close = onCloseRequest_](Arbor::Platform::WindowHandle, std::uint32_t message,
                                                      std::uintptr_t, std::intptr_t) -> std::optional<std::intptr_t> {
        // Closing the main window must not destroy it behind the scene's back: quitting
        // goes through the characters, which wind down first.
        if (message == Arbor::Platform::WM_CLOSE) {
            if (*close) (*close)();
            return 0;
        }
        // The frame loop republishes the desktop rectangle at its next frame.
        if (message == Arbor::Platform::WM_DISPLAYCHANGE) DisplayChange::signal();
        return std::nullopt;
    };
    window_ = UiThreadWindows::create(description);
}

MainObject::~MainObject() {
    if (window_ != Arbor::Platform::WindowHandle::None) UiThreadWindows::destroy(window_);
}

}  // namespace Quenta::GameComponent
