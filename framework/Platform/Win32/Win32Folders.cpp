// The executable's path, the shell's application-data folder and the writability test.
#include <windows.h>
#include <shlobj.h>

#include "framework/Platform/Folders.h"
#include "framework/Platform/Win32/Win32Text.h"
#include "framework/Platform/Win32/Win32Services.h"

namespace Arbor::Platform {

using namespace Win32;

namespace {

class Win32FolderService : public FolderService {
public:
    std::u16string executablePath() override {
        std::wstring buffer(MAX_PATH, L'\0');
        for (;;) {
            const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
            if (length == 0) return {};
            if (length < buffer.size()) return narrowed(buffer.data(), length);
            if (buffer.size() >= 32768) return {};
            buffer.resize(buffer.size() * 2);
        }
    }
    std::u16string applicationDataFolder() override {
        wchar_t buffer[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
        return narrowed(buffer, wcslen(buffer));
    }
    std::u16string homeFolder() override {
        wchar_t buffer[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
        return narrowed(buffer, wcslen(buffer));
    }
    bool isWritableDirectory(std::u16string_view directory) override {
        if (directory.empty()) return false;
        wchar_t name[MAX_PATH] = {};
        // Creates the uniquely named file; then the exclusive, delete-on-close open.
        if (!GetTempFileNameW(wide(directory).c_str(), L"TMP", 0, name)) return false;
        HANDLE file = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                  nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            // The test failed after creating the file: do not leave it behind.
            DeleteFileW(name);
            return false;
        }
        CloseHandle(file);
        return true;
    }
};

}  // namespace

std::unique_ptr<FolderService> Win32::makeFolderService() { return std::make_unique<Win32FolderService>(); }

}  // namespace Arbor::Platform
