#pragma once
// Basic value types shared by the platform layer and everything above it.

#include <cstdint>
#include <string>

namespace qvn::platform {

// A top-level or child window of the desktop; 0 names no window.
using WindowHandle = std::uintptr_t;

// 100-nanosecond intervals since 1 January 1601 (UTC), as the file system reports times.
using FileTime = std::uint64_t;

// The program's own strings are std::string holding single-byte text in the system's ANSI
// code page (Windows-1251 on the target systems). Paths handed to the file system, and the
// names the archive writer works with, are UTF-16 (std::u16string).

struct LocalDateTime {
  int year = 0;
  int month = 0;   // 1..12
  int day = 0;     // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

}  // namespace qvn::platform
