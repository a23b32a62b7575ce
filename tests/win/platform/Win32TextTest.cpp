#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

#include "platform/win32/WinApi.h"

namespace qvn {
namespace {

class Win32TextTest : public ::testing::Test {
 protected:
  platform::win32::Win32Text text;
};

// Everything below depends on the Russian code pages of the target systems, which the test
// rig sets through the locale it runs Wine with.
TEST_F(Win32TextTest, TheSystemUsesTheRussianCodePages) {
  EXPECT_EQ(GetACP(), 1251u);
  EXPECT_EQ(GetOEMCP(), 866u);
}

TEST_F(Win32TextTest, AnsiToUtf16ToAnsiAndOem) {
  // The literal is Windows-1251 bytes; the UTF-16 and 866 forms are written out by hand.
  const std::string ansi = "Кворвейн Ёё №1";
  const std::u16string wide = u"Кворвейн Ёё №1";
  const std::string oem = "\x8A\xA2\xAE\xE0\xA2\xA5\xA9\xAD \xF0\xF1 \xFC" "1";
  ASSERT_EQ(ansi.size(), 14u);
  EXPECT_EQ(static_cast<unsigned char>(ansi[0]), 0xCAu);

  EXPECT_EQ(text.AnsiToWide(ansi), wide);
  EXPECT_EQ(text.WideToAnsi(wide), ansi);
  EXPECT_EQ(text.AnsiToOem(ansi), oem);
  EXPECT_EQ(text.AnsiToOem("Client.exe \\ C:"), "Client.exe \\ C:");
  EXPECT_EQ(text.AnsiToWide(""), u"");
  EXPECT_EQ(text.WideToAnsi(u""), "");
  EXPECT_EQ(text.AnsiToOem(""), "");
}

TEST_F(Win32TextTest, CharactersOutsideTheAnsiCodePageDoNotSurviveTheRoundTrip) {
  const std::u16string euro = u"\u20AC";  // in Windows-1251, at 0x88
  EXPECT_EQ(text.WideToAnsi(euro), "\x88");
  EXPECT_EQ(text.AnsiToWide(text.WideToAnsi(euro)), euro);

  const std::u16string outside = u"a\u65E5\u672Cb";  // two CJK characters
  const std::string ansi = text.WideToAnsi(outside);
  EXPECT_EQ(ansi.size(), 4u);
  EXPECT_EQ(ansi.front(), 'a');
  EXPECT_EQ(ansi.back(), 'b');
  EXPECT_NE(text.AnsiToWide(ansi), outside);
}

TEST_F(Win32TextTest, UpperCaseFollowsTheCodePageAndTheLocale) {
  EXPECT_EQ(text.UpperAnsi("client.exe кворвейн ёж 123"), "CLIENT.EXE КВОРВЕЙН ЁЖ 123");
  EXPECT_EQ(text.UpperAnsi("CLIENT.EXE"), "CLIENT.EXE");
  EXPECT_EQ(text.UpperAnsi(""), "");
  // Sharp s has no single upper-case letter and stays; it is outside the macro's text, which
  // must be Windows-1251.
  const std::u16string mixed = u"interface ёлка straße";
  const std::u16string upper = u"INTERFACE ЁЛКА STRAßE";
  EXPECT_EQ(text.UpperWide(mixed), upper);
  EXPECT_EQ(text.UpperWide(u""), u"");
  // Embedded NULs are text like any other.
  EXPECT_EQ(text.UpperAnsi(std::string("a\0b", 3)), std::string("A\0B", 3));
}

}  // namespace
}  // namespace qvn
