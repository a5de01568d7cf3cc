// Session-end requests are only recorded: a test run must never shut its host down.
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Headless/HeadlessServices.h"
#include "framework/Platform/Session.h"

namespace Arbor::Platform {

namespace {

class HeadlessSessionService : public SessionService {
public:
    bool enableShutdownPrivilege() override {
        Headless::SessionRecord record;
        record.kind = Headless::SessionRecord::Kind::EnableShutdownPrivilege;
        return Headless::HeadlessDesktop::instance().recordSessionRequest(record);
    }
    bool exitSystem(std::uint32_t flags, std::uint32_t reason) override {
        Headless::SessionRecord record;
        record.kind = Headless::SessionRecord::Kind::ExitSystem;
        record.flags = flags;
        record.reason = reason;
        return Headless::HeadlessDesktop::instance().recordSessionRequest(record);
    }
};

}  // namespace

std::unique_ptr<SessionService> Headless::makeSessionService() {
    return std::make_unique<HeadlessSessionService>();
}

}  // namespace Arbor::Platform
