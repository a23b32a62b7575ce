#pragma once
// The archive writer's errors. EZipWriterError carries a numeric code and the message the
// writer's table gives for it; EZipFileError reports that the archive file itself cannot be
// created or opened; EZlibError is a failure reported by the compression library.

#include <initializer_list>
#include <stdexcept>
#include <string>

namespace qvn {

// The codes of EZipWriterError that this writer raises.
namespace zipcode {
inline constexpr int BlankFileName = 9;
inline constexpr int NotOpen = 13;
inline constexpr int CannotOpenSource = 33;
inline constexpr int SizeChanged = 34;
inline constexpr int EntryTooLarge = 41;
inline constexpr int OffsetTooLarge = 43;
inline constexpr int StreamWrite = 46;
inline constexpr int NameTooLong = 61;
inline constexpr int DiskFull = 65;
}  // namespace zipcode

class EZipWriterError : public std::runtime_error {
 public:
  // message: the full text, as ZipErrorMessage builds it.
  EZipWriterError(int code, const std::string& message);
  int Code() const noexcept { return code_; }

 private:
  int code_;
};

// The message of code: its table text with the arguments put in for its "%s" and "%d" in
// turn (ANSI), then " - Native error: " and the code as five digits ("... - Native error:
// 00033"). A code outside the table gets an empty text.
std::string ZipErrorMessage(int code, std::initializer_list<std::string> arguments = {});

// Whether a failure of this code concerns one entry only: the commit then asks what to do
// and goes on, instead of rolling the whole update back.
bool IsEntryFailure(int code);

[[noreturn]] void RaiseZipError(int code, std::initializer_list<std::string> arguments = {});

// "Cannot create file "<path>". <reason>" or "Cannot open file "<path>". <reason>".
class EZipFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A negative result of the compression library: "error <result>".
class EZlibError : public std::runtime_error {
 public:
  explicit EZlibError(int result);
};

}  // namespace qvn
