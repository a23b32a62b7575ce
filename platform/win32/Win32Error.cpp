#include "platform/win32/Win32Error.h"

#include "platform/win32/WinApi.h"

#include "platform/OsError.h"

namespace qvn::platform::win32 {

namespace {

// Longer than any system message; FormatMessageA cuts nothing shorter.
constexpr DWORD MessageBufferSize = 1024;

bool IsTrailingNoise(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '.'; }

}  // namespace

std::string SystemErrorMessage(std::uint32_t code) {
  char buffer[MessageBufferSize];
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                     buffer, MessageBufferSize, nullptr);
  std::string text(buffer, length);
  while (!text.empty() && IsTrailingNoise(text.back())) text.pop_back();
  if (text.empty()) return "Error " + std::to_string(code);
  return text;
}

void RaiseOSError(std::uint32_t code) { throw EOSError(code, SystemErrorMessage(code)); }

void RaiseLastOSError() { RaiseOSError(GetLastError()); }

}  // namespace qvn::platform::win32
