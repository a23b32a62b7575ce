#pragma once
// Writing one entry of the archive: local header and name, the source's data compressed
// chunk by chunk, then the header completed in place.

#include "backup/DirItem.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace qvn {

// Writes item at the archive's current position and leaves the position at the end of the
// file. A folder entry is its header and name alone. A file is opened for reading while
// others may go on reading and writing it; its header goes out first with the placeholder
// CRC-32 and compressed size 0 and is completed once the data is written. On success the
// record holds the entry's offset, CRC-32, sizes, method, flags and version.
//
// Failures of the entry raise EZipWriterError with codes 33 (cannot open the source), 34 (the
// source changed size while it was read), 41 and 43 (too large without ZIP64), 61 (path or
// name too long) and 65 (a short write): the source is released by then, and what was
// written so far stays in the file as a gap that the caller never refers to. Failures of
// the archive file itself (EOSError) and of zlib (EZlibError) propagate unchanged.
void WriteEntry(platform::IFileSystem& files, const platform::ITextServices& text,
                platform::IFile& archive, TDirItem& item);

}  // namespace qvn
