# Shared part of the MinGW-w64 toolchains; the including file sets
# MINGW_TRIPLET (i686-w64-mingw32 or x86_64-w64-mingw32) first.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model compilers: the win32 model ones lack std::mutex and
# std::thread in this GCC, which GoogleTest needs.
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

# Search the target's own folders for libraries and headers, never the
# host's: a Linux header found by accident builds but does not run.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread linked in, so that an executable runs on
# a bare Windows without the compiler's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests and test discovery run the executables through Wine, in a prefix of
# the build's own, without a display and without Wine's diagnostics. The
# .NET and HTML engines are switched off so that creating the prefix never
# asks to download them. C.UTF-8 gives Windows an English system (ANSI code
# page 1252, so Japanese names must take the wide-character path) while Wine
# can still store those names as UTF-8 file names; under plain C it cannot.
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      env -u DISPLAY -u WAYLAND_DISPLAY LANG=C.UTF-8 LC_ALL=C.UTF-8 WINEDEBUG=-all
      WINEDLLOVERRIDES=mscoree,mshtml= WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix wine)
endif()
