#include "platform/posix/PosixText.h"

#include <gtest/gtest.h>

namespace qvn::platform::posix {
namespace {

TEST(PosixTextTest, EveryWindows1251ByteRoundTrips) {
  const PosixText text;
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const std::u16string wide = text.AnsiToWide(all);
  ASSERT_EQ(wide.size(), all.size());
  EXPECT_EQ(wide[0xC0 - 1], u'А');
  EXPECT_EQ(wide[0xB8 - 1], u'ё');
  EXPECT_EQ(text.WideToAnsi(wide), all);
}

TEST(PosixTextTest, CharactersOutsideTheCodePageDoNotRoundTrip) {
  const PosixText text;
  const std::u16string cjk = u"名.txt";
  EXPECT_NE(text.AnsiToWide(text.WideToAnsi(cjk)), cjk);
}

TEST(PosixTextTest, AnsiToOemIsWindows1251To866) {
  const PosixText text;
  EXPECT_EQ(text.AnsiToOem("Кворвейн/a.txt"), "\x8A\xA2\xAE\xE0\xA2\xA5\xA9\xAD/a.txt");
  EXPECT_EQ(text.AnsiToOem("ёЁ"), "\xF1\xF0");
}

TEST(PosixTextTest, UpperCasesLatinAndCyrillic) {
  const PosixText text;
  EXPECT_EQ(text.UpperAnsi("client.exe"), "CLIENT.EXE");
  EXPECT_EQ(text.UpperAnsi("кворвейн ёж"), "КВОРВЕЙН ЁЖ");
  EXPECT_EQ(text.UpperWide(u"addons/кв"), u"ADDONS/КВ");
}

}  // namespace
}  // namespace qvn::platform::posix
