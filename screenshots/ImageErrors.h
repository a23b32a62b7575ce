#pragma once
// The errors of reading BMP files and writing JPEG files. The converter passes over every one
// of them silently, so their texts matter to tests and to anyone who calls these operations
// elsewhere.

#include <stdexcept>
#include <string>

namespace qvn {

// Every failure of ReadBitmapFile and WriteJpegFile, and of the decoding and encoding they do:
//   "Cannot open file "<path>". <system message>"    the source cannot be opened for reading
//   "Bitmap image is not valid"                      not a BMP file of a kind that is read
//   "Stream read error"                              the file ends inside its headers or table
//   "Out of memory"                                  the image cannot be held in memory
//   "Cannot create file "<path>". <system message>"  the target cannot be created or replaced
//   "Stream write error"                             the target was not written completely
class EImageFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The JPEG library refused the image: "JPEG error #<code>", with the library's message code.
class EJpegError : public EImageFileError {
 public:
  explicit EJpegError(int code)
      : EImageFileError("JPEG error #" + std::to_string(code)), code_(code) {}
  int Code() const noexcept { return code_; }

 private:
  int code_;
};

namespace imagemessages {
inline constexpr const char* InvalidBitmap = "Bitmap image is not valid";
inline constexpr const char* StreamRead = "Stream read error";
inline constexpr const char* StreamWrite = "Stream write error";
inline constexpr const char* OutOfMemory = "Out of memory";
}  // namespace imagemessages

}  // namespace qvn
