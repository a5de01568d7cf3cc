#pragma once
// The character of the "MAIN_OBJECT" entry. It owns the program's main window, whose
// title other copies of the program look for to refuse themselves.
#include <functional>
#include <memory>
#include <string>

#include "Source/GameComponent/CharacterObject.h"
#include "framework/Platform/Types.h"

namespace Quenta::GameComponent {

class MainObject : public CharacterObject {
public:
    // Creates the main window (hidden, tool-window style) with the given title on the
    // calling thread, which must be the user-interface thread. A close request to the
    // window (the system or another program asking the program to end) calls
    // onCloseRequest instead of destroying the window.
    MainObject(const std::u16string& windowTitle, std::function<void()> onCloseRequest);
    ~MainObject() override;

    std::u16string className() const override { return u"MainObject"; }

    Arbor::Platform::WindowHandle window() const { return window_; }

private:
    // Shared with the window procedure, which may outlive a moved-from callback.
    std::shared_ptr<std::function<void()>> onCloseRequest_;
    Arbor::Platform::WindowHandle window_ = Arbor::Platform::WindowHandle::None;
};

}  // namespace Quenta::GameComponent
