// Folders come from the host; tests may move the application-data folder and make a
// folder fail the writability test.
#include "framework/Platform/Folders.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Headless/HeadlessServices.h"
#include "framework/Platform/HostServices.h"

namespace Arbor::Platform {

namespace {

class HeadlessFolderService : public FolderService {
public:
    HeadlessFolderService() : host_(hostServices().makeFolderService()) {}
    std::u16string executablePath() override { return host_->executablePath(); }
    std::u16string applicationDataFolder() override {
        std::u16string folder = Headless::HeadlessDesktop::instance().applicationDataFolderOverride();
        return folder.empty() ? host_->applicationDataFolder() : folder;
    }
    std::u16string homeFolder() override { return host_->homeFolder(); }
    bool isWritableDirectory(std::u16string_view directory) override {
        if (Headless::HeadlessDesktop::instance().isMarkedUnwritable(directory)) return false;
        return host_->isWritableDirectory(directory);
    }

private:
    std::unique_ptr<FolderService> host_;
};

}  // namespace

std::unique_ptr<FolderService> Headless::makeFolderService() {
    return std::make_unique<HeadlessFolderService>();
}

}  // namespace Arbor::Platform
