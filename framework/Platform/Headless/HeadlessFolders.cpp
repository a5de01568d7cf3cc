// Folders come from the host; tests may move the application-data folder and make a
// folder fail the writability test.
#include "framework/Platform/Folders.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Headless/HostSystem.h"

namespace Arbor::Platform {

namespace {

class HeadlessFolderService : public FolderService {
public:
    std::u16string executablePath() override { return Host::executablePath(); }
    std::u16string applicationDataFolder() override {
        std::u16string folder = Headless::HeadlessDesktop::instance().applicationDataFolderOverride();
        return folder.empty() ? Host::applicationDataFolder() : folder;
    }
    bool isWritableDirectory(std::u16string_view directory) override {
        if (Headless::HeadlessDesktop::instance().isMarkedUnwritable(directory)) return false;
        return Host::isWritableDirectory(directory);
    }
};

}  // namespace

std::unique_ptr<FolderService> Detail::makeHeadlessFolderService() {
    return std::make_unique<HeadlessFolderService>();
}

}  // namespace Arbor::Platform
