#include "Source/Application/ApplicationDirectories.h"

#include <system_error>

#include "Source/Application/ApplicationIdentity.h"
#include "framework/Platform/Folders.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/ProgramLocation.h"

namespace Quenta::Application {

ApplicationDirectories::ApplicationDirectories(std::filesystem::path programDirectory,
                                               std::filesystem::path applicationData, WritabilityCheck check)
    : programDirectory_(std::move(programDirectory)),
      applicationData_(std::move(applicationData)),
      check_(check ? std::move(check) : WritabilityCheck(&takesWrites)) {}

std::filesystem::path ApplicationDirectories::perUserDirectory() const {
    return applicationData_ / std::u16string(ApplicationIdentity::makerName) /
           std::u16string(ApplicationIdentity::productName);
}

std::filesystem::path ApplicationDirectories::writableBase() const {
    if (check_(programDirectory_)) return programDirectory_;
    return perUserDirectory();
}

bool ApplicationDirectories::isWritableDirectory(const std::filesystem::path& directory) {
    return Arbor::Platform::folderService().isWritableDirectory(Arbor::Platform::fromNativePath(directory));
}

bool ApplicationDirectories::takesWrites(const std::filesystem::path& directory) {
    return Arbor::Platform::programDirectoryTakesWrites(directory);
}

std::filesystem::path ApplicationDirectories::programDirectoryOf(const std::filesystem::path& argv0) {
    const std::u16string reported = Arbor::Platform::folderService().executablePath();
    std::filesystem::path executable = reported.empty() ? argv0 : Arbor::Platform::toNativePath(reported);
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(executable, ec);
    if (ec) full = executable;
    return full.lexically_normal().parent_path();
}

}  // namespace Quenta::Application
