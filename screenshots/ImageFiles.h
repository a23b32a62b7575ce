#pragma once
// The two file operations of the screenshot converter: reading a BMP file into a bitmap and
// writing a bitmap as a JPEG file.

#include <string>

#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "screenshots/Bitmap.h"

namespace qvn {

// Reads the BMP file at path (see DecodeBitmap for the kinds read and the errors). The file
// is opened for reading while others may read it but not write it, so a file that another
// program still writes is refused, and it is closed again on every path. Raises
// EImageFileError "Cannot open file "<path>". <system message>" when it cannot be opened so.
Bitmap ReadBitmapFile(platform::IFileSystem& files, const platform::ITextServices& text,
                      const std::u16string& path);

// Writes bitmap as a JPEG file at path (see EncodeJpeg), replacing any file there; an empty
// bitmap gives a file of zero bytes. The image is encoded and written to a new temporary file
// in the same folder, opened for this process alone, and moved over path only once it is
// complete, so that whatever was at path before stays untouched when anything fails, and no
// partial file is left behind: the temporary file is removed on every failure.
// Raises EImageFileError "Cannot create file "<path>". <system message>" when no file can be
// made in the folder or path cannot be replaced (read-only, a folder, in use), checked before
// the encoding as far as the attributes tell; "Stream write error" when the bytes could not
// all be stored; and the errors of EncodeJpeg.
void WriteJpegFile(platform::IFileSystem& files, const platform::ITextServices& text,
                   const Bitmap& bitmap, const std::u16string& path);

}  // namespace qvn
