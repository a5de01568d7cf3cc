// The clipboard of the X11 desktop: the CLIPBOARD selection. Setting text makes this
// program the selection's owner; a thread of the clipboard's own, on a connection of
// its own, answers other clients' requests for it (UTF8_STRING, STRING, TEXT,
// text/plain;charset=utf-8, and TARGETS) until another client takes the selection.
// Keeping it off the windows' connections means a slow or stuck requestor never holds
// up the windows, and the windows' event thread stays about windows. Reading converts
// the selection into a property of the clipboard's window.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include "framework/Platform/Clipboard.h"
#include "framework/Platform/X11/X11Headers.h"
#include "framework/Platform/X11/X11Services.h"
#include "framework/Text/Utf.h"

namespace Arbor::Platform::X11 {

namespace {

class X11ClipboardService : public ClipboardService {
public:
    X11ClipboardService() {
        display_ = XOpenDisplay(nullptr);
        if (!display_ || pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) return;
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
        clipboard_ = XInternAtom(display_, "CLIPBOARD", False);
        targets_ = XInternAtom(display_, "TARGETS", False);
        utf8_ = XInternAtom(display_, "UTF8_STRING", False);
        text_ = XInternAtom(display_, "TEXT", False);
        plain_ = XInternAtom(display_, "text/plain;charset=utf-8", False);
        property_ = XInternAtom(display_, "ARBOR_CLIPBOARD", False);
        XFlush(display_);
        thread_ = std::thread([this] { loop(); });
    }
    ~X11ClipboardService() override {
        if (thread_.joinable()) {
            {
                std::lock_guard lock(mutex_);
                stopping_ = true;
            }
            wake();
            thread_.join();
        }
        if (wake_[0] >= 0) close(wake_[0]);
        if (wake_[1] >= 0) close(wake_[1]);
        if (display_) XCloseDisplay(display_);
    }

    bool setText(std::u16string_view text) override {
        if (!thread_.joinable()) return false;
        std::unique_lock lock(mutex_);
        pendingText_ = Text::toUtf8(text);
        const std::uint64_t ticket = ++ownRequests_;
        wake();
        cv_.wait_for(lock, std::chrono::seconds(2), [&] { return ownAnswered_ >= ticket; });
        return ownAnswered_ >= ticket && owned_;
    }

    std::optional<std::u16string> text() override {
        if (!thread_.joinable()) return std::nullopt;
        std::unique_lock lock(mutex_);
        if (owned_) return Text::fromUtf8(current_);
        const std::uint64_t ticket = ++readRequests_;
        wake();
        cv_.wait_for(lock, std::chrono::seconds(2), [&] { return readAnswered_ >= ticket; });
        if (readAnswered_ < ticket || !readResult_) return std::nullopt;
        return Text::fromUtf8(*readResult_);
    }

private:
    void wake() {
        const char byte = 1;
        [[maybe_unused]] const auto n = write(wake_[1], &byte, 1);
    }

    void loop() {
        std::chrono::steady_clock::time_point readDeadline{};
        bool reading = false;
        for (;;) {
            pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {wake_[0], POLLIN, 0}};
            if (XPending(display_) == 0) poll(fds, 2, reading ? 100 : -1);
            char drain[64];
            while (read(wake_[0], drain, sizeof drain) > 0) {
            }
            {
                std::unique_lock lock(mutex_);
                if (stopping_) return;
                if (ownRequests_ > ownAnswered_) {
                    current_ = pendingText_;
                    lock.unlock();
                    XSetSelectionOwner(display_, clipboard_, window_, CurrentTime);
                    const bool owned = XGetSelectionOwner(display_, clipboard_) == window_;
                    lock.lock();
                    owned_ = owned;
                    ownAnswered_ = ownRequests_;
                    cv_.notify_all();
                }
                if (readRequests_ > readAnswered_ && !reading) {
                    lock.unlock();
                    XDeleteProperty(display_, window_, property_);
                    XConvertSelection(display_, clipboard_, utf8_, property_, window_, CurrentTime);
                    XFlush(display_);
                    reading = true;
                    readDeadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
                }
            }
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                if (event.type == SelectionRequest) serve(event.xselectionrequest);
                if (event.type == SelectionClear) {
                    std::lock_guard lock(mutex_);
                    owned_ = false;
                    current_.clear();
                }
                if (event.type == SelectionNotify && reading) {
                    finishRead(event.xselection.property == XNone ? std::nullopt : readProperty());
                    reading = false;
                }
            }
            if (reading && std::chrono::steady_clock::now() >= readDeadline) {
                finishRead(std::nullopt);
                reading = false;
            }
        }
    }

    std::optional<std::string> readProperty() {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::optional<std::string> result;
        if (XGetWindowProperty(display_, window_, property_, 0, 1 << 24, True, AnyPropertyType, &type, &format, &count,
                               &after, &data) == Success &&
            data && format == 8) {
            result = std::string(reinterpret_cast<const char*>(data), count);
        }
        if (data) XFree(data);
        return result;
    }

    void finishRead(std::optional<std::string> text) {
        std::lock_guard lock(mutex_);
        readResult_ = std::move(text);
        readAnswered_ = readRequests_;
        cv_.notify_all();
    }

    void serve(const XSelectionRequestEvent& request) {
        XSelectionEvent reply{};
        reply.type = SelectionNotify;
        reply.display = request.display;
        reply.requestor = request.requestor;
        reply.selection = request.selection;
        reply.target = request.target;
        reply.time = request.time;
        reply.property = XNone;
        // Obsolete clients leave the property XNone: the target names it then.
        const Atom property = request.property == XNone ? request.target : request.property;
        std::string text;
        bool owned = false;
        {
            std::lock_guard lock(mutex_);
            owned = owned_;
            text = current_;
        }
        // Bigger answers would need the incremental transfer; they are refused.
        const bool fits = text.size() < static_cast<std::size_t>(XMaxRequestSize(display_)) * 4 - 64;
        if (owned && request.selection == clipboard_) {
            if (request.target == targets_) {
                const Atom supported[] = {targets_, utf8_, XA_STRING, text_, plain_};
                XChangeProperty(display_, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(supported), 5);
                reply.property = property;
            } else if (fits && (request.target == utf8_ || request.target == plain_ || request.target == text_ ||
                                request.target == XA_STRING)) {
                const Atom type = request.target == XA_STRING ? XA_STRING : request.target == plain_ ? plain_ : utf8_;
                XChangeProperty(display_, request.requestor, property, type, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
                reply.property = property;
            }
        }
        XSendEvent(display_, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
        XFlush(display_);
    }

    Display* display_ = nullptr;
    Window window_ = 0;
    Atom clipboard_ = 0, targets_ = 0, utf8_ = 0, text_ = 0, plain_ = 0, property_ = 0;
    int wake_[2] = {-1, -1};
    std::thread thread_;

    std::mutex mutex_;
    std::condition_variable cv_;
    bool stopping_ = false;
    std::string pendingText_;
    std::string current_;
    bool owned_ = false;
    std::uint64_t ownRequests_ = 0, ownAnswered_ = 0;
    std::uint64_t readRequests_ = 0, readAnswered_ = 0;
    std::optional<std::string> readResult_;
};

}  // namespace

std::unique_ptr<ClipboardService> makeClipboardService() { return std::make_unique<X11ClipboardService>(); }

}  // namespace Arbor::Platform::X11
