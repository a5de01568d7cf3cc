// Ending the session on a Linux desktop: logind's PowerOff or Reboot over the system
// bus (sd-bus). There is no privilege to enable as on Windows: logind asks polkit at
// the request itself, so "enabling" only checks that the system bus answers. The
// request is non-interactive: a desktop that wants a password refuses it quietly.
#if !defined(_WIN32)
#include <systemd/sd-bus.h>

#include "framework/Platform/Messages.h"
#include "framework/Platform/Posix/PosixDesktop.h"
#include "framework/Platform/Session.h"

namespace Arbor::Platform {

namespace {

class LogindSessionService : public SessionService {
public:
    bool enableShutdownPrivilege() override {
        sd_bus* bus = nullptr;
        if (sd_bus_open_system(&bus) < 0) return false;
        sd_bus_flush_close_unref(bus);
        return true;
    }

    bool exitSystem(std::uint32_t flags, std::uint32_t) override {
        const char* method = (flags & EWX_REBOOT) ? "Reboot" : (flags & (EWX_SHUTDOWN | EWX_POWEROFF)) ? "PowerOff" : nullptr;
        if (!method) return false;
        sd_bus* bus = nullptr;
        if (sd_bus_open_system(&bus) < 0) return false;
        sd_bus_error error{};  // SD_BUS_ERROR_NULL, without its C compound literal
        sd_bus_message* reply = nullptr;
        const int result = sd_bus_call_method(bus, "org.freedesktop.login1", "/org/freedesktop/login1",
                                              "org.freedesktop.login1.Manager", method, &error, &reply, "b", 0);
        sd_bus_error_free(&error);
        sd_bus_message_unref(reply);
        sd_bus_flush_close_unref(bus);
        return result >= 0;
    }
};

}  // namespace

std::unique_ptr<SessionService> Posix::makeLogindSessionService() { return std::make_unique<LogindSessionService>(); }

}  // namespace Arbor::Platform
#endif
