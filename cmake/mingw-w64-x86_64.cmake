# Cross-build for 64-bit Windows with MinGW-w64 (posix threads), tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(QVN_MINGW_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QVN_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QVN_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${QVN_MINGW_HOST}-windres)

# SQLite and libjpeg-turbo are built from Debian's source packages by
# scripts/build-mingw-deps.sh; its current.cmake names their folders.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QVN_MINGW_DEPS)
if(NOT QVN_MINGW_DEPS)
  set(QVN_MINGW_DEPS "${CMAKE_CURRENT_LIST_DIR}/../build/deps")
endif()
get_filename_component(QVN_MINGW_DEPS "${QVN_MINGW_DEPS}" ABSOLUTE)
include("${QVN_MINGW_DEPS}/current.cmake")

set(CMAKE_FIND_ROOT_PATH /usr/${QVN_MINGW_HOST} ${QVN_MINGW_SQLITE3_DIR} ${QVN_MINGW_LIBJPEG_DIR})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ZLIB_USE_STATIC_LIBS ON)

# Everything is linked in: the executable needs no DLL beside the system's.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh")
