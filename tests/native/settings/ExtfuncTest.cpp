#include "settings/extfunc.h"

#include <gtest/gtest.h>

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
