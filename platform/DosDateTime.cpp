#include "platform/DosDateTime.h"

namespace qvn::platform {

namespace {
constexpr int FirstDosYear = 1980;
constexpr int LastDosYear = 2107;
}  // namespace

DosDateTime ToDosDateTime(const LocalDateTime& t) {
  LocalDateTime v = t;
  if (v.year < FirstDosYear) v = {FirstDosYear, 1, 1, 0, 0, 0, 0};
  if (v.year > LastDosYear) v = {LastDosYear, 12, 31, 23, 59, 59, 0};
  DosDateTime d;
  d.date = static_cast<std::uint16_t>(((v.year - FirstDosYear) << 9) | (v.month << 5) | v.day);
  d.time = static_cast<std::uint16_t>((v.hour << 11) | (v.minute << 5) | (v.second / 2));
  return d;
}

}  // namespace qvn::platform
