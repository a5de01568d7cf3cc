#include "Source/GameComponent/UiThreadWindows.h"

#include <atomic>

#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"

namespace Quenta::GameComponent {

namespace {
using Arbor::Platform::WindowHandle;

// Messages of the request window alone, so any application number will do.
constexpr std::uint32_t kCreateRequest = Arbor::Platform::WM_APP + 1;  // lParam: the description
constexpr std::uint32_t kDestroyRequest = Arbor::Platform::WM_APP + 2;  // wParam: the window

std::atomic<UiThreadWindows*> currentInstance{nullptr};

std::intptr_t toResult(WindowHandle window) { return static_cast<std::intptr_t>(window); }
WindowHandle fromResult(std::intptr_t result) { return static_cast<WindowHandle>(result); }
}  // namespace

UiThreadWindows::UiThreadWindows() : thread_(Arbor::Platform::messageQueueService().currentThreadId()) {
    Arbor::Platform::WindowDescription description;
    description.className = u"UiThreadWindows";
    description.style = Arbor::Platform::WS_POPUP;
    description.exStyle = Arbor::Platform::WS_EX_TOOLWINDOW;
    description.procedure = [](WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam) -> std::optional<std::intptr_t> {
        if (message == kCreateRequest) {
            const auto& requested = *reinterpret_cast<const Arbor::Platform::WindowDescription*>(lParam);
            return toResult(Arbor::Platform::windowService().create(requested));
        }
        if (message == kDestroyRequest) {
            return Arbor::Platform::windowService().destroy(static_cast<WindowHandle>(wParam)) ? 1 : 0;
        }
        return std::nullopt;
    };
    requestWindow_ = Arbor::Platform::windowService().create(description);
    currentInstance.store(this);
}

UiThreadWindows::~UiThreadWindows() {
    UiThreadWindows* self = this;
    currentInstance.compare_exchange_strong(self, nullptr);
    if (requestWindow_ != WindowHandle::None) Arbor::Platform::windowService().destroy(requestWindow_);
}

UiThreadWindows* UiThreadWindows::current() { return currentInstance.load(); }

WindowHandle UiThreadWindows::create(const Arbor::Platform::WindowDescription& description) {
    UiThreadWindows* windows = current();
    if (!windows || Arbor::Platform::messageQueueService().currentThreadId() == windows->thread_) {
        return Arbor::Platform::windowService().create(description);
    }
    // The description stays alive here until the user-interface thread has answered.
    return fromResult(Arbor::Platform::messageQueueService().sendMessage(
        windows->requestWindow_, kCreateRequest, 0, reinterpret_cast<std::intptr_t>(&description)));
}

bool UiThreadWindows::destroy(WindowHandle window) {
    UiThreadWindows* windows = current();
    if (!windows || Arbor::Platform::messageQueueService().currentThreadId() == windows->thread_) {
        return Arbor::Platform::windowService().destroy(window);
    }
    return Arbor::Platform::messageQueueService().sendMessage(windows->requestWindow_, kDestroyRequest,
                                                               static_cast<std::uintptr_t>(window), 0) != 0;
}

}  // namespace Quenta::GameComponent
