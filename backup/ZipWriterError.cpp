#include "backup/ZipWriterError.h"

#include <cstdio>
#include <map>

namespace qvn {

namespace {

const std::map<int, const char*>& MessageTable() {
  static const std::map<int, const char*> table = {
      {zipcode::BlankFileName, "File name is blank. Specify appropriate file name"},
      {zipcode::NotOpen, "Archive is not open"},
      {zipcode::CannotOpenSource, "Cannot open file \"%s\""},
      {zipcode::SizeChanged, "Invalid compressed size, rfs.size = %d, count = %d"},
      {zipcode::EntryTooLarge, "Cannot compress file '%s'. Zip64 mode is not enabled"},
      {zipcode::OffsetTooLarge, "Cannot compress file '%s'. Zip64 mode is not enabled"},
      {zipcode::StreamWrite, "Write to stream error"},
      {zipcode::NameTooLong, "File name is too long: \r\n\"%s\""},
      {zipcode::DiskFull, "Disk is full. There is not enough free space on disk."},
  };
  return table;
}

}  // namespace

EZipWriterError::EZipWriterError(int code, const std::string& message)
    : std::runtime_error(message), code_(code) {}

std::string ZipErrorMessage(int code, std::initializer_list<std::string> arguments) {
  const auto& table = MessageTable();
  const auto found = table.find(code);
  const std::string text = found != table.end() ? found->second : "";
  std::string message;
  auto next = arguments.begin();
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool placeholder =
        text[i] == '%' && i + 1 < text.size() && (text[i + 1] == 's' || text[i + 1] == 'd');
    if (placeholder && next != arguments.end()) {
      message += *next++;
      ++i;
    } else {
      message += text[i];
    }
  }
  char number[16];
  std::snprintf(number, sizeof number, "%05d", code);
  return message + " - Native error: " + number;
}

bool IsEntryFailure(int code) {
  switch (code) {
    case zipcode::CannotOpenSource:
    case zipcode::SizeChanged:
    case zipcode::EntryTooLarge:
    case zipcode::OffsetTooLarge:
    case zipcode::NameTooLong:
    case zipcode::DiskFull: return true;
    default: return false;
  }
}

void RaiseZipError(int code, std::initializer_list<std::string> arguments) {
  throw EZipWriterError(code, ZipErrorMessage(code, arguments));
}

EZlibError::EZlibError(int result) : std::runtime_error("error " + std::to_string(result)) {}

}  // namespace qvn
