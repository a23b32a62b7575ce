#include "backup/RawDeflate.h"

#include <zlib.h>

#include <cstring>

#include "backup/ZipWriterError.h"

namespace qvn {

namespace {

constexpr int WindowBits = 15;
constexpr int MemoryLevel = 8;
constexpr std::size_t ZlibHeaderSize = 2;
constexpr std::size_t ZlibTrailerSize = 4;

}  // namespace

std::size_t ChunkSize(int level) {
  constexpr std::size_t KiB = 1024;
  if (level >= 1 && level <= 3) return 512 * KiB;
  if (level >= 7) return 1536 * KiB;
  return 1024 * KiB;
}

std::size_t DeflateOutputCapacity(std::size_t inputSize) {
  // Comfortably above zlib's own bound for a chunk (stored blocks cost 5 bytes per 64 KiB)
  // plus the header, the trailer and one sync-flush marker.
  return inputSize + inputSize / 10 + 12 + 64;
}

TRawDeflate::TRawDeflate(int level) : stream_(std::make_unique<z_stream_s>()) {
  std::memset(stream_.get(), 0, sizeof(z_stream_s));
  const int result =
      deflateInit2(stream_.get(), level, Z_DEFLATED, WindowBits, MemoryLevel, Z_DEFAULT_STRATEGY);
  if (result != Z_OK) {
    stream_.reset();
    throw EZlibError(result);
  }
}

TRawDeflate::~TRawDeflate() {
  if (stream_) deflateEnd(stream_.get());
}

std::span<const unsigned char> TRawDeflate::Deflate(const unsigned char* data, std::size_t size,
                                                    unsigned char* out, bool last) {
  z_stream_s& z = *stream_;
  const std::size_t capacity = DeflateOutputCapacity(size);
  z.next_in = const_cast<unsigned char*>(data);
  z.avail_in = static_cast<uInt>(size);
  z.next_out = out;
  z.avail_out = static_cast<uInt>(capacity);
  const int result = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
  if (result < 0) throw EZlibError(result);
  // The room above always suffices; a stream that still has work left is zlib's "buffer
  // error", reported as such rather than cut short.
  if (z.avail_in != 0 || z.avail_out == 0 || (last && result != Z_STREAM_END))
    throw EZlibError(Z_BUF_ERROR);

  std::size_t produced = capacity - z.avail_out;
  std::size_t begin = 0;
  if (first_) {
    begin = ZlibHeaderSize;
    first_ = false;
  }
  if (last) produced -= ZlibTrailerSize;
  return {out + begin, produced - begin};
}

}  // namespace qvn
