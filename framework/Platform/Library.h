#pragma once
// Loading shared libraries and finding their exports.
#include <memory>
#include <string_view>

#include "framework/Platform/Types.h"

namespace Arbor::Platform {

class LibraryService {
public:
    virtual ~LibraryService() = default;
    // Loads the library at the system path; None on failure.
    virtual LibraryHandle load(std::u16string_view path) = 0;
    // The address of an export; null when missing.
    virtual void* symbol(LibraryHandle library, const char* name) = 0;
    virtual bool unload(LibraryHandle library) = 0;

    // The export as a function pointer type.
    template <typename Function>
    Function function(LibraryHandle library, const char* name) {
        return reinterpret_cast<Function>(symbol(library, name));
    }
};

LibraryService& libraryService();

}  // namespace Arbor::Platform
