#include "screenshots/JpegEncoder.h"

// libjpeg's headers need the size types declared first.
#include <cstdio>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <algorithm>
#include <csetjmp>

#include "screenshots/BgrRows.h"
#include "screenshots/ImageErrors.h"

#ifndef JCS_EXTENSIONS
#error "blue-first input colour spaces (JCS_EXT_BGR) are needed"
#endif

namespace qvn {

namespace {

// Rows handed over per call: one row of 4:2:0 MCUs.
constexpr JDIMENSION StripRows = 16;
// The first output buffer: a quarter byte a pixel, which holds most screenshots at this
// quality, within these bounds; it doubles whenever it is full.
constexpr std::size_t SmallestFirstBuffer = std::size_t{64} << 10;
constexpr std::size_t LargestFirstBuffer = std::size_t{8} << 20;

// The error manager of one compression: fatal errors leave the library by longjmp to the
// point that Compress set; warnings and traces are dropped, nothing is printed.
struct ErrorExit {
  jpeg_error_mgr manager;  // first, so that the library's pointer to it is one to this
  std::jmp_buf jump;
};

void LeaveLibrary(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorExit*>(cinfo->err)->jump, 1);
}
void DropMessage(j_common_ptr, int) {}
void DropOutput(j_common_ptr) {}

// A memory destination that grows as needed, by malloc and realloc, so that running out of
// memory is reported through the library's error exit rather than by an exception.
struct GrowingDestination {
  jpeg_destination_mgr manager;  // first, as above
  std::uint8_t* buffer;
  std::size_t capacity;
  std::size_t size;
};

GrowingDestination& DestinationOf(j_compress_ptr cinfo) {
  return *reinterpret_cast<GrowingDestination*>(cinfo->dest);
}

void StartBuffer(j_compress_ptr cinfo) {
  GrowingDestination& d = DestinationOf(cinfo);
  if (!d.buffer) {
    d.capacity = std::clamp(static_cast<std::size_t>(cinfo->image_width) * cinfo->image_height / 4,
                            SmallestFirstBuffer, LargestFirstBuffer);
    d.buffer = static_cast<std::uint8_t*>(std::malloc(d.capacity));
    if (!d.buffer) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
  }
  d.manager.next_output_byte = d.buffer;
  d.manager.free_in_buffer = d.capacity;
}

boolean GrowBuffer(j_compress_ptr cinfo) {
  GrowingDestination& d = DestinationOf(cinfo);
  const std::size_t used = d.capacity;  // the library calls this only on a full buffer
  auto* grown = static_cast<std::uint8_t*>(std::realloc(d.buffer, 2 * used));
  if (!grown) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 1);
  d.buffer = grown;
  d.capacity = 2 * used;
  d.manager.next_output_byte = d.buffer + used;
  d.manager.free_in_buffer = d.capacity - used;
  return TRUE;
}

void EndBuffer(j_compress_ptr cinfo) {
  GrowingDestination& d = DestinationOf(cinfo);
  d.size = d.capacity - d.manager.free_in_buffer;
}

// What one compression owns: the library's object, its error manager and its destination.
// The destructor releases all of them, whether the compression ran to its end or not.
class Compression {
 public:
  Compression() {
    cinfo.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = LeaveLibrary;
    errors.manager.emit_message = DropMessage;
    errors.manager.output_message = DropOutput;
    destination.manager.init_destination = StartBuffer;
    destination.manager.empty_output_buffer = GrowBuffer;
    destination.manager.term_destination = EndBuffer;
  }
  ~Compression() {
    jpeg_destroy_compress(&cinfo);  // safe on an object that was never created
    std::free(destination.buffer);
  }
  Compression(const Compression&) = delete;
  Compression& operator=(const Compression&) = delete;

  JpegBytes TakeOutput() {
    JpegBytes bytes(destination.buffer, destination.size);
    destination.buffer = nullptr;
    return bytes;
  }

  jpeg_compress_struct cinfo{};
  ErrorExit errors{};
  GrowingDestination destination{};
};

// What the row loop needs to hand rows over.
struct RowFeed {
  const Bitmap* bitmap;
  const BgrRowConverter* converter;
  DirectRows direct;
};

// Runs the library from creation to the end of the compression. The library leaves it by
// longjmp on any fatal error, so it holds only locals that need no destructors, and no C++
// exception ever passes through the library's frames; it returns false then.
bool Compress(Compression& c, const RowFeed& feed) noexcept {
  j_compress_ptr cinfo = &c.cinfo;
  if (setjmp(c.errors.jump) != 0) return false;

  jpeg_CreateCompress(cinfo, JPEG_LIB_VERSION, sizeof(jpeg_compress_struct));
  cinfo->dest = &c.destination.manager;
  cinfo->image_width = feed.bitmap->width;
  cinfo->image_height = feed.bitmap->height;
  cinfo->input_components = feed.direct == DirectRows::Bgrx ? 4 : 3;
  cinfo->in_color_space = feed.direct == DirectRows::Bgrx ? JCS_EXT_BGRX : JCS_EXT_BGR;
  jpeg_set_defaults(cinfo);
  cinfo->dct_method = JDCT_FLOAT;
  jpeg_set_quality(cinfo, JpegQuality, TRUE);
  jpeg_start_compress(cinfo, TRUE);

  // Allocated by the library once it has accepted the image size, freed with the object.
  JSAMPARRAY strip = nullptr;
  if (feed.direct == DirectRows::None)
    strip = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                        cinfo->image_width * 3, StripRows);
  JSAMPROW rows[StripRows];
  while (cinfo->next_scanline < cinfo->image_height) {
    const JDIMENSION first = cinfo->next_scanline;
    const JDIMENSION count = std::min(StripRows, cinfo->image_height - first);
    for (JDIMENSION i = 0; i < count; ++i) {
      const std::uint8_t* stored = feed.bitmap->RowFromTop(first + i);
      if (strip) {
        feed.converter->Convert(stored, strip[i]);
        rows[i] = strip[i];
      } else {
        rows[i] = const_cast<JSAMPROW>(stored);  // the library only reads input rows
      }
    }
    jpeg_write_scanlines(cinfo, rows, count);
  }
  jpeg_finish_compress(cinfo);
  return true;
}

}  // namespace

JpegBytes EncodeJpeg(const Bitmap& bitmap) {
  if (bitmap.IsEmpty()) return {};
  const BgrRowConverter converter(bitmap);
  Compression compression;
  if (!Compress(compression, RowFeed{&bitmap, &converter, DirectRowsOf(bitmap)}))
    throw EJpegError(compression.errors.manager.msg_code);
  return compression.TakeOutput();
}

}  // namespace qvn
