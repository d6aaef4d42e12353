# Cross-builds the engine for 64-bit Windows with Debian's mingw-w64 (the
# posix threads variant, which std::thread needs) and runs what it builds
# under wine64: configure with -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELMORA_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELMORA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMORA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMORA_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VELMORA_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C++ runtime, libgcc and winpthread linked in: every .exe and .dll runs alone.
foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT "-static")
endforeach()

# Tests, test discovery and build steps run the programs under wine, in a
# prefix of the build tree's own, quietly and without a display.
find_program(VELMORA_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_program(VELMORA_WINESERVER NAMES wineserver PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH
             REQUIRED)
set(VELMORA_WINE_ENV WINEDEBUG=-all WINEPREFIX=${CMAKE_BINARY_DIR}/wine DISPLAY= WAYLAND_DISPLAY=)
set(CMAKE_CROSSCOMPILING_EMULATOR env ${VELMORA_WINE_ENV} ${VELMORA_WINE64})
