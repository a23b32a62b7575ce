#include "backup/EntryNames.h"

#include <gtest/gtest.h>

#include "platform/Utf.h"
#include "platform/posix/PosixText.h"

namespace qvn {
namespace {

struct NameCase {
  const char16_t* name;
  const char* stored;
  bool utf8;
};

class EntryNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(EntryNameTest, KeepsOemBytesForNamesTheCodePagesHoldAndUtf8ForTheRest) {
  const platform::posix::PosixText text;  // Windows-1251 and 866, as on a Russian system
  const auto& c = GetParam();
  const TStoredName stored = EncodeEntryName(text, c.name);
  EXPECT_EQ(stored.bytes, c.stored);
  EXPECT_EQ(stored.utf8, c.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Names, EntryNameTest,
    ::testing::Values(
        NameCase{u"interface/Addons/a.lua", "interface/Addons/a.lua", false},
        NameCase{u"Quorvane/Ёлка №1.txt", "Quorvane/\xF0\xAB\xAA\xA0 \xFC\x31.txt", false},
        // Not in Windows-1251: the round trip changes it.
        NameCase{u"a/\u622A\u56FE.bmp", "a/\xE6\x88\xAA\xE5\x9B\xBE.bmp", true},
        NameCase{u"caf\u00E9", "caf\xC3\xA9", true},
        // A surrogate pair is one character: one four-byte sequence.
        NameCase{u"\U0001F600", "\xF0\x9F\x98\x80", true},
        // In Windows-1251 but not in code page 866: OEM bytes would lose it.
        NameCase{u"price \u20AC.txt", "price \xE2\x82\xAC.txt", true}));

TEST(EntryNameLength, LongUtf8NamesAreKeptWhole) {
  const platform::posix::PosixText text;
  const std::u16string name(200, u'\u622A');
  const TStoredName stored = EncodeEntryName(text, name);
  EXPECT_TRUE(stored.utf8);
  EXPECT_EQ(stored.bytes.size(), 600u);
  EXPECT_EQ(platform::Utf8ToUtf16(stored.bytes), name);
}

}  // namespace
}  // namespace qvn
