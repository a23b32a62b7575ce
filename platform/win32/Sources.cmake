# The Windows implementation of the platform layer (the only code that includes <windows.h>).
set(QVN_PLATFORM_WIN32_SOURCES
)
set(QVN_PLATFORM_WIN32_LIBS comctl32 shell32 ole32 uuid gdi32 user32 kernel32)
