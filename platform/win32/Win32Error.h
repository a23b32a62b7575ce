#pragma once
// The system's message texts for error codes, in the form the program shows them, and the
// EOSError that carries one.

#include <cstdint>
#include <string>

namespace qvn::platform::win32 {

// The system's ANSI text for code with trailing blanks, line breaks and full stops removed
// ("Access is denied"), or "Error N" when the system has no text for it.
std::string SystemErrorMessage(std::uint32_t code);

// Raises EOSError for code with its system text.
[[noreturn]] void RaiseOSError(std::uint32_t code);

// Raises EOSError for the calling thread's last error (GetLastError).
[[noreturn]] void RaiseLastOSError();

}  // namespace qvn::platform::win32
