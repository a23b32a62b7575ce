#include "platform/win32/Win32Clock.h"

#include "platform/win32/WinApi.h"

namespace qvn::platform::win32 {

namespace {

LocalDateTime FromSystemTime(const SYSTEMTIME& time) {
  return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond,
          time.wMilliseconds};
}

}  // namespace

LocalDateTime Win32Clock::Now() const {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return FromSystemTime(now);
}

LocalDateTime Win32Clock::ToLocal(FileTime time) const {
  FILETIME utc{};
  utc.dwLowDateTime = static_cast<DWORD>(time);
  utc.dwHighDateTime = static_cast<DWORD>(time >> 32);
  FILETIME local{};
  SYSTEMTIME parts{};
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &parts)) return {};
  return FromSystemTime(parts);
}

}  // namespace qvn::platform::win32
