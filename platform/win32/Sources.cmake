# The Windows implementation of the platform layer (the only code that includes <windows.h>):
# every source of platform/win32. The process entry (platform/win32/entry) is a target of
# its own, linked into the executable only.
file(GLOB QVN_PLATFORM_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
set(QVN_PLATFORM_WIN32_LIBS comctl32 comdlg32 shell32 shlwapi ole32 uuid gdi32 user32 advapi32 kernel32)
