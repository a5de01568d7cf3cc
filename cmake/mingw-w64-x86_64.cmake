# Cross-building for 64-bit Windows with Debian's mingw-w64 (POSIX thread model, so
# that std::thread and std::mutex work). Everything is linked statically: the
# executables and the plugin libraries then run under Wine without extra DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAVIZO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TAVIZO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVIZO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVIZO_MINGW_TRIPLE}-windres)

# The target's libraries: mingw-w64's own tree and, when given, a prefix of
# cross-built dependencies (TAVIZO_WINDOWS_DEPS, e.g. libpng).
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TAVIZO_WINDOWS_DEPS)
set(CMAKE_FIND_ROOT_PATH /usr/${TAVIZO_MINGW_TRIPLE})
if(TAVIZO_WINDOWS_DEPS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${TAVIZO_WINDOWS_DEPS})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static archives first, so zlib and libpng are linked in rather than as DLLs.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a .dll.a .lib)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
set(ZLIB_USE_STATIC_LIBS ON)
