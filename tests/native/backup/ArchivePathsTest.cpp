#include "backup/ArchivePaths.h"

#include <gtest/gtest.h>

#include "platform/Utf.h"
#include "platform/posix/PosixText.h"

namespace qvn {
namespace {

const platform::posix::PosixText text;

std::string Shown(const std::u16string& s) { return platform::Utf16ToUtf8(s); }

struct MatchCase {
  const char16_t* value;
  const char16_t* mask;
  bool matches;
};

class MaskMatchTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MaskMatchTest, MatchesWholeTextsWithoutRegardToCase) {
  const auto& c = GetParam();
  EXPECT_EQ(MatchesMask(text, c.value, c.mask), c.matches) << Shown(c.value) << " ~ " << Shown(c.mask);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MaskMatchTest,
    ::testing::Values(
        MatchCase{u"README", u"*.*", true}, MatchCase{u"", u"*.*", true},
        MatchCase{u"C:\\Game\\interface\\Addons", u"C:\\Game\\interface\\*.*", false},
        MatchCase{u"C:\\Game\\interface\\Addons.", u"C:\\Game\\interface\\*.*", true},
        MatchCase{u"C:\\GAME\\Interface\\my.folder", u"c:\\game\\interface\\*.*", true},
        MatchCase{u"C:\\Game\\a\\b\\c.lua", u"C:\\Game\\*.lua", true},
        MatchCase{u"Скрин.BMP", u"скрин.bmp", true}, MatchCase{u"ab", u"a?", true},
        MatchCase{u"a", u"a?", false}, MatchCase{u"abc", u"a*", true},
        MatchCase{u"abc", u"*c*", true}, MatchCase{u"abd", u"a*c", false},
        MatchCase{u"a.b.c", u"*.c", true}, MatchCase{u"x.txt", u"x.tx", false}));

struct ResolveCase {
  const char16_t* mask;
  const char16_t* folder;
  const char16_t* full;
};

class ResolveMaskTest : public ::testing::TestWithParam<ResolveCase> {};

TEST_P(ResolveMaskTest, PutsRelativeMasksBelowTheFolder) {
  const auto& c = GetParam();
  EXPECT_EQ(Shown(ResolveMask(c.mask, c.folder)), Shown(c.full));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResolveMaskTest,
    ::testing::Values(
        ResolveCase{u"interface\\*.*", u"C:\\Game\\", u"C:\\Game\\interface\\*.*"},
        ResolveCase{u"Quorvane\\*.*", u"C:\\Users\\User\\Documents",
                    u"C:\\Users\\User\\Documents\\Quorvane\\*.*"},
        ResolveCase{u"interface\\*.*", u"C:\\\\", u"C:\\\\interface\\*.*"},
        ResolveCase{u"\\x\\*.*", u"C:\\Game", u"C:\\Game\\x\\*.*"},
        ResolveCase{u"\\", u"C:\\Game", u"C:\\Game"},
        ResolveCase{u"\\\\server\\share\\*.*", u"C:\\Game", u"\\\\server\\share\\*.*"},
        ResolveCase{u".\\x\\*.*", u"C:\\Game\\", u"C:\\Game\\x\\*.*"},
        ResolveCase{u"D:\\other\\*.*", u"C:\\Game", u"D:\\other\\*.*"},
        ResolveCase{u"..\\up\\*.*", u"C:\\Game", u"..\\up\\*.*"},
        ResolveCase{u"*.*", u"C:\\Game\\a/", u"C:\\Game\\a/*.*"}));

struct NameCase {
  const char16_t* path;
  const char16_t* base;
  const char16_t* name;
};

class EntryNameOfTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(EntryNameOfTest, IsThePathBelowTheBaseWithForwardSlashes) {
  const auto& c = GetParam();
  EXPECT_EQ(Shown(EntryNameOf(text, c.path, c.base)), Shown(c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EntryNameOfTest,
    ::testing::Values(
        NameCase{u"C:\\Game\\interface\\a.txt", u"C:\\Game\\", u"interface/a.txt"},
        NameCase{u"C:\\Game\\interface\\Addons\\", u"C:\\Game\\", u"interface/Addons"},
        NameCase{u"c:\\GAME\\interface\\Addons\\B.lua", u"C:\\Game\\", u"interface/Addons/B.lua"},
        NameCase{u"C:\\Users\\U\\Documents\\Quorvane\\x.txt", u"C:\\Users\\U\\Documents",
                 u"Quorvane/x.txt"},
        NameCase{u"C:\\\\interface\\a.txt", u"C:\\\\", u"interface/a.txt"},
        NameCase{u"C:\\Game\\interface\\name.", u"C:\\Game\\", u"interface/name"},
        // Outside the base: the full path without its drive or server.
        NameCase{u"D:\\other\\a.txt", u"C:\\Game\\", u"other/a.txt"},
        NameCase{u"C:\\Other\\a.txt", u"C:\\Game\\", u"Other/a.txt"},
        NameCase{u"\\\\server\\share\\a.txt", u"C:\\Game\\", u"share/a.txt"}));

struct ExclusionCase {
  const char16_t* mask;
  const char16_t* path;
  bool folder;
  bool excluded;
};

class ExclusionTest : public ::testing::TestWithParam<ExclusionCase> {};

TEST_P(ExclusionTest, LeavesOutWhatTheMaskNames) {
  const auto& c = GetParam();
  const TExclusionMask mask(text, c.mask);
  EXPECT_EQ(mask.Excludes(text.UpperWide(c.path), c.folder), c.excluded)
      << Shown(c.mask) << " / " << Shown(c.path);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExclusionTest,
    ::testing::Values(
        // The archive's own path: only that file.
        ExclusionCase{u"C:\\Prog\\09-12-2025.zip", u"C:\\Prog\\09-12-2025.zip", false, true},
        ExclusionCase{u"C:\\Prog\\09-12-2025.zip", u"c:\\PROG\\09-12-2025.ZIP", false, true},
        ExclusionCase{u"C:\\Prog\\09-12-2025.zip", u"C:\\Prog\\08-12-2025.zip", false, false},
        ExclusionCase{u"C:\\Prog\\09-12-2025.zip", u"C:\\Prog\\sub\\09-12-2025.zip", false, false},
        ExclusionCase{u"C:\\Prog\\09-12-2025.zip", u"C:\\Prog\\sub\\", true, false},
        // A folder mask with "*.*": everything below that folder.
        ExclusionCase{u"C:\\Game\\cache\\*.*", u"C:\\Game\\cache\\a.txt", false, true},
        ExclusionCase{u"C:\\Game\\cache\\*.*", u"C:\\Game\\cache\\deep\\a.txt", false, true},
        ExclusionCase{u"C:\\Game\\cache\\*.*", u"C:\\Game\\cache\\deep\\", true, true},
        ExclusionCase{u"C:\\Game\\cache\\*.*", u"C:\\Game\\other.txt", false, false},
        ExclusionCase{u"C:\\Game\\*.log", u"C:\\Game\\a.log", false, true},
        ExclusionCase{u"C:\\Game\\*.log", u"C:\\Game\\sub\\a.log", false, false},
        ExclusionCase{u"*.*", u"C:\\anything", false, true},
        ExclusionCase{u"*.tmp", u"C:\\Game\\sub\\x.tmp", false, true},
        ExclusionCase{u"*.tmp", u"C:\\Game\\sub\\x.txt", false, false}));

struct ExpandCase {
  const char16_t* path;
  const char16_t* current;
  const char16_t* full;
};

class ExpandPathTest : public ::testing::TestWithParam<ExpandCase> {};

TEST_P(ExpandPathTest, MakesPathsAbsolute) {
  const auto& c = GetParam();
  EXPECT_EQ(Shown(ExpandPath(c.path, c.current)), Shown(c.full));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExpandPathTest,
    ::testing::Values(ExpandCase{u"C:\\a.zip", u"D:\\w", u"C:\\a.zip"},
                      ExpandCase{u"a.zip", u"D:\\w", u"D:\\w\\a.zip"},
                      ExpandCase{u"a.zip", u"D:\\", u"D:\\a.zip"},
                      ExpandCase{u"\\a.zip", u"D:\\w", u"D:\\a.zip"},
                      ExpandCase{u"\\\\srv\\s\\a.zip", u"D:\\w", u"\\\\srv\\s\\a.zip"}));

}  // namespace
}  // namespace qvn
