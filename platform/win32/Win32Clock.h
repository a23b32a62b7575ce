#pragma once
// The system's local clock and its time-zone rules for file times.

#include "platform/Clock.h"

namespace qvn::platform::win32 {

class Win32Clock : public IClock {
 public:
  LocalDateTime Now() const override;
  // The file time through the current time-zone bias (FileTimeToLocalFileTime), as the
  // system shows file times. A time the system cannot convert gives a zeroed value.
  LocalDateTime ToLocal(FileTime time) const override;
};

}  // namespace qvn::platform::win32
