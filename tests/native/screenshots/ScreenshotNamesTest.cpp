#include "screenshots/ScreenshotNames.h"

#include <gtest/gtest.h>

#include "platform/Utf.h"
#include "platform/posix/PosixText.h"

namespace qvn {
namespace {

struct NameCase {
  const char16_t* bmp;
  const char16_t* jpeg;  // empty: the entry is left alone
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << platform::Utf16ToUtf8(c.bmp); }

class JpegNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(JpegNameTest, NeverNamesTheSourceItself) {
  const platform::posix::PosixText text;
  EXPECT_TRUE(JpegNameFor(GetParam().bmp, text) == GetParam().jpeg)
      << text.WideToAnsi(GetParam().bmp) << " -> " << text.WideToAnsi(JpegNameFor(GetParam().bmp, text));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JpegNameTest,
    ::testing::Values(NameCase{u"shot.bmp", u"shot.jpg"}, NameCase{u"a.bmp.bmp", u"a.jpg.jpg"},
                      NameCase{u"my.bmpshot.bmp", u"my.jpgshot.jpg"},
                      NameCase{u"SHOT.BMP", u"SHOT.jpg"}, NameCase{u"Shot.Bmp", u"Shot.jpg"},
                      NameCase{u"a.bmp.BMP", u"a.jpg.jpg"}, NameCase{u"A.BMP.bmp", u"A.BMP.jpg"},
                      NameCase{u"Скрин.BMP", u"Скрин.jpg"}, NameCase{u".bmp", u".jpg"},
                      // Names that only a short-name match brings: left alone unless "bmp" is in them.
                      NameCase{u"SHOTBMPX", u""}, NameCase{u"shot.bmpx", u"shot.jpgx"}));

}  // namespace
}  // namespace qvn
