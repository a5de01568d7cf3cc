#pragma once
// Ending the user's session: the shutdown privilege and the request to shut down or
// reboot. The headless backend never touches the host: it records both calls.
#include <cstdint>
#include <memory>

namespace Arbor::Platform {

class SessionService {
public:
    virtual ~SessionService() = default;
    // Enables "SeShutdownPrivilege" in this process's token; true when it is enabled.
    virtual bool enableShutdownPrivilege() = 0;
    // Asks the system to end the session: flags EWX_SHUTDOWN (1) or EWX_REBOOT (2) of
    // Messages.h, with the reason code.
    virtual bool exitSystem(std::uint32_t flags, std::uint32_t reason) = 0;
};

SessionService& sessionService();

}  // namespace Arbor::Platform
