#pragma once
// Compression of one entry's data: a zlib deflate stream fed chunk by chunk, whose zlib
// header and Adler-32 trailer are cut away so that what remains is raw deflate data.

#include <cstddef>
#include <memory>
#include <span>

struct z_stream_s;

namespace qvn {

// The size of the chunks read from a source at a compression level: 512 KiB at levels 1 to
// 3, 1 MiB at level 0 and at levels 4 to 6, 1.5 MiB at levels 7 to 9.
std::size_t ChunkSize(int level);

// The output room that one chunk of inputSize bytes needs at most, trailer and sync-flush
// marker included.
std::size_t DeflateOutputCapacity(std::size_t inputSize);

class TRawDeflate {
 public:
  // A stream at level with method 8, window bits 15, memory level 8 and the default
  // strategy. Raises EZlibError when zlib refuses.
  explicit TRawDeflate(int level);
  ~TRawDeflate();
  TRawDeflate(const TRawDeflate&) = delete;
  TRawDeflate& operator=(const TRawDeflate&) = delete;

  // Compresses one chunk into out, which holds DeflateOutputCapacity(size) bytes, with a
  // sync flush, or with finish when last. Returns the raw deflate bytes of this chunk, a part
  // of out: the first chunk loses the 2-byte zlib header, the last one the 4-byte trailer. Each chunk's output is complete: a sync flush ends it on a byte boundary with
  // the empty stored block 00 00 FF FF. Raises EZlibError on a negative zlib result.
  std::span<const unsigned char> Deflate(const unsigned char* data, std::size_t size,
                                        unsigned char* out, bool last);

 private:
  std::unique_ptr<z_stream_s> stream_;
  bool first_ = true;
};

}  // namespace qvn
