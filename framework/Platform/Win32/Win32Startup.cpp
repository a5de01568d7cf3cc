// Start-up registration: a shortcut <program name>.lnk in the user's Startup folder,
// made through the shell-link object and saved through its persist-file interface.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <filesystem>

#include "framework/Platform/Startup.h"
#include "framework/Platform/Win32/Win32Services.h"
#include "framework/Platform/Win32/Win32Text.h"

namespace Arbor::Platform {

namespace {

// <Startup folder>\<program file name without extension>.lnk; empty without a folder.
std::wstring shortcutPath(std::u16string_view programPath) {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
    const std::wstring stem = std::filesystem::path(Win32::wide(programPath)).stem().wstring();
    if (stem.empty()) return {};
    return std::wstring(folder) + L"\\" + stem + L".lnk";
}

class Win32StartupService : public StartupService {
public:
    bool registerProgram(std::u16string_view programPath, std::u16string_view workingDirectory) override {
        const std::wstring link = shortcutPath(programPath);
        if (link.empty()) return false;
        const HRESULT initialised = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        bool saved = false;
        IShellLinkW* shellLink = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                       reinterpret_cast<void**>(&shellLink)))) {
            shellLink->SetPath(Win32::wide(programPath).c_str());
            shellLink->SetArguments(L"");
            shellLink->SetWorkingDirectory(Win32::wide(workingDirectory).c_str());
            shellLink->SetDescription(L"");
            IPersistFile* file = nullptr;
            if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
                saved = SUCCEEDED(file->Save(link.c_str(), TRUE));
                file->Release();
            }
            shellLink->Release();
        }
        if (SUCCEEDED(initialised)) CoUninitialize();
        return saved;
    }

    bool unregisterProgram(std::u16string_view programPath) override {
        const std::wstring link = shortcutPath(programPath);
        return !link.empty() && (DeleteFileW(link.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND);
    }

    bool isProgramRegistered(std::u16string_view programPath) override {
        const std::wstring link = shortcutPath(programPath);
        return !link.empty() && GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::u16string registeredTarget(std::u16string_view programPath) override {
        const std::wstring link = shortcutPath(programPath);
        if (link.empty()) return {};
        const HRESULT initialised = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        std::u16string target;
        IShellLinkW* shellLink = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                       reinterpret_cast<void**>(&shellLink)))) {
            IPersistFile* file = nullptr;
            if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
                wchar_t path[MAX_PATH] = {};
                if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
                    SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH))) {
                    target = Win32::narrowed(path, wcsnlen(path, MAX_PATH));
                }
                file->Release();
            }
            shellLink->Release();
        }
        if (SUCCEEDED(initialised)) CoUninitialize();
        return target;
    }
};

}  // namespace

std::unique_ptr<StartupService> Win32::makeStartupService() { return std::make_unique<Win32StartupService>(); }

}  // namespace Arbor::Platform
