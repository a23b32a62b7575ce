#pragma once
// The one exception type that platform operations raise: an operating-system error code
// (Windows numbering on every platform) and the system's message text for it.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace qvn::platform {

// Windows error codes that code above the platform layer tells apart. The POSIX
// implementation maps errno values onto the same numbers.
namespace oserror {
inline constexpr std::uint32_t FileNotFound = 2;
inline constexpr std::uint32_t PathNotFound = 3;
inline constexpr std::uint32_t TooManyOpenFiles = 4;
inline constexpr std::uint32_t AccessDenied = 5;
inline constexpr std::uint32_t InvalidHandle = 6;
inline constexpr std::uint32_t NotEnoughMemory = 8;
inline constexpr std::uint32_t WriteFault = 29;
inline constexpr std::uint32_t ReadFault = 30;
inline constexpr std::uint32_t SharingViolation = 32;
inline constexpr std::uint32_t LockViolation = 33;
inline constexpr std::uint32_t HandleDiskFull = 39;
inline constexpr std::uint32_t NotSupported = 50;
inline constexpr std::uint32_t FileExists = 80;
inline constexpr std::uint32_t InvalidParameter = 87;
inline constexpr std::uint32_t DiskFull = 112;
inline constexpr std::uint32_t InvalidName = 123;
inline constexpr std::uint32_t DirNotEmpty = 145;
inline constexpr std::uint32_t AlreadyExists = 183;
inline constexpr std::uint32_t FilenameTooLong = 206;
inline constexpr std::uint32_t Directory = 267;  // ERROR_DIRECTORY: the name is not a folder
}  // namespace oserror

class EOSError : public std::runtime_error {
 public:
  // message: the system's text for code, single-byte ANSI text (what() returns it).
  EOSError(std::uint32_t code, const std::string& message)
      : std::runtime_error(message), code_(code) {}
  std::uint32_t Code() const noexcept { return code_; }

 private:
  std::uint32_t code_;
};

}  // namespace qvn::platform
