#include "settings/extfunc.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qvn {
namespace {

struct ReplaceCase {
  const char* oldText;
  const char* newText;
  const char* text;
  const char* expected;
};

class ReplaceAllTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceAllTest, ReplacesLeftToRightWithoutRescanningInsertedText) {
  const auto& c = GetParam();
  EXPECT_EQ(ReplaceAll(c.oldText, c.newText, c.text), c.expected);
}

// The cases are ASCII, so widening each byte gives the same text in UTF-16.
std::u16string Widen(const char* text) { return std::u16string(text, text + std::strlen(text)); }

TEST_P(ReplaceAllTest, Utf16TextFollowsTheSameRule) {
  const auto& c = GetParam();
  EXPECT_EQ(ReplaceAll(Widen(c.oldText), Widen(c.newText), Widen(c.text)), Widen(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceAllTest,
    ::testing::Values(ReplaceCase{"a", "b", "aaa", "bbb"},
                      ReplaceCase{"aa", "a", "aaaaa", "aaa"},           // matches do not overlap
                      ReplaceCase{"a", "aa", "a-a", "aa-aa"},           // inserted text not searched
                      ReplaceCase{".bmp", ".jpg", "a.bmp.bmp", "a.jpg.jpg"},
                      ReplaceCase{".bmp", ".jpg", "my.bmpshot.bmp", "my.jpgshot.jpg"},
                      ReplaceCase{".bmp", ".jpg", "SHOT.BMP", "SHOT.BMP"},  // letter case counts
                      ReplaceCase{"\"", "\"\"", "say \"hi\"", "say \"\"hi\"\""},
                      ReplaceCase{"x", "", "xaxbx", "ab"},
                      ReplaceCase{"", "zz", "abc", "abc"},
                      ReplaceCase{"abc", "z", "ab", "ab"}));

}  // namespace
}  // namespace qvn
