#pragma once
// Where the program is and where it may write. Paths are system text with '\'
// separators (NativePath.h maps them to the host's form).
#include <memory>
#include <string>
#include <string_view>

namespace Arbor::Platform {

class FolderService {
public:
    virtual ~FolderService() = default;
    // The full path of the running executable; empty on failure.
    virtual std::u16string executablePath() = 0;
    // The per-user application-data folder: the shell's application-data folder on
    // Win32, $XDG_DATA_HOME or ~/.local/share on POSIX hosts. Empty on failure.
    virtual std::u16string applicationDataFolder() = 0;
    // The user's home folder: the profile folder on Win32, $HOME (else the password
    // entry's) on POSIX hosts. Empty on failure.
    virtual std::u16string homeFolder() = 0;
    // Whether a file can be created in the folder: creates a uniquely named temporary
    // file beginning with "TMP" there and opens it again for reading and writing,
    // exclusively, removed when closed. The file never stays behind.
    virtual bool isWritableDirectory(std::u16string_view directory) = 0;
};

FolderService& folderService();

}  // namespace Arbor::Platform
