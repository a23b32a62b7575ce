// The portable helpers of the platform layer.
#include <gtest/gtest.h>

#include "platform/DosDateTime.h"
#include "platform/ExceptionBox.h"
#include "platform/MessageDlg.h"
#include "platform/PathText.h"
#include "platform/Utf.h"
#include "tests/fakes/FakeMessageBoxes.h"

namespace qvn::platform {
namespace {

// Assertion macros spell their arguments out as narrow text, which must fit Windows-1251:
// characters beyond it stay outside the macros.
TEST(UtfTest, EncodesWholeCharactersAndKeepsLoneSurrogates) {
  const std::u16string mixed = u"aЖ名";
  const std::u16string withEmoji = u"aЖ名\U0001F600";
  EXPECT_EQ(Utf16ToUtf8(mixed), "a\xD0\x96\xE5\x90\x8D");
  EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xED\xA0\x80");
  EXPECT_EQ(Utf8ToUtf16("a\xD0\x96\xE5\x90\x8D\xF0\x9F\x98\x80"), withEmoji);
  EXPECT_EQ(Utf8ToUtf16("\xFF" "a\xE5\x90"), u"\uFFFDa\uFFFD");
}

TEST(DosDateTimeTest, PacksTwoSecondStepsAndClampsTheRange) {
  const auto d = ToDosDateTime({2025, 12, 9, 23, 59, 59, 999});
  EXPECT_EQ(d.date, ((2025 - 1980) << 9) | (12 << 5) | 9);
  EXPECT_EQ(d.time, (23 << 11) | (59 << 5) | 29);
  EXPECT_EQ(ToDosDateTime({1970, 1, 1, 0, 0, 0, 0}).date, (0 << 9) | (1 << 5) | 1);
  EXPECT_EQ(ToDosDateTime({2200, 1, 1, 0, 0, 0, 0}).date, (127 << 9) | (12 << 5) | 31);
}

TEST(PathTextTest, SplitsAndJoins) {
  EXPECT_EQ(ExtractFilePath(std::string("C:\\Prog\\QvnToolbox.exe")), "C:\\Prog\\");
  EXPECT_EQ(ExtractFileName(std::string("C:\\Prog\\QvnToolbox.exe")), "QvnToolbox.exe");
  EXPECT_EQ(ExtractFilePath(std::u16string(u"C:x")), u"C:");
  EXPECT_EQ(IncludeTrailingBackslash(std::string("C:\\Game")), "C:\\Game\\");
  EXPECT_EQ(IncludeTrailingBackslash(std::string("C:\\")), "C:\\");
  EXPECT_EQ(ExcludeTrailingSeparators(std::string("C:\\Docs\\")), "C:\\Docs");
}

TEST(MessageDlgTest, CaptionsDefaultsAndEscapeFollowTheButtons) {
  testing::FakeMessageBoxes boxes;
  ShowWarning(boxes, "w");
  ShowError(boxes, "e");
  ShowInformation(boxes, "i");
  AskYesNo(boxes, "q");
  MessageDlg(boxes, "f", MessageKind::Confirmation,
             {DialogButton::Abort, DialogButton::Retry, DialogButton::Ignore});
  MessageDlg(boxes, "g", MessageKind::Confirmation, {DialogButton::Abort, DialogButton::Ignore});
  ASSERT_EQ(boxes.shown.size(), 6u);
  const char* captions[] = {"Warning", "Error", "Information", "Confirm", "Confirm", "Confirm"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(boxes.shown[i].caption, captions[i]);
  EXPECT_EQ(boxes.shown[0].escapeButton, DialogButton::Ok);
  EXPECT_EQ(boxes.shown[3].defaultButton, DialogButton::Yes);
  EXPECT_EQ(boxes.shown[3].escapeButton, DialogButton::No);
  EXPECT_EQ(boxes.shown[4].defaultButton, DialogButton::Retry);
  EXPECT_EQ(boxes.shown[4].escapeButton, DialogButton::Closed);
  EXPECT_EQ(boxes.shown[5].defaultButton, DialogButton::Abort);
}

TEST(ExceptionBoxTest, AppendsAFullStopAfterCharactersAboveIt) {
  EXPECT_EQ(ErrorBoxText("Disk full"), "Disk full.");
  EXPECT_EQ(ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(ErrorBoxText("Why?"), "Why?.");   // "?" is above "."
  EXPECT_EQ(ErrorBoxText("Stop!"), "Stop!");  // "!" is below "."
  EXPECT_EQ(ErrorBoxText("a - b"), "a - b.");
  EXPECT_EQ(ErrorBoxText("Ошибка"), "Ошибка.");
  EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(ExceptionBoxTest, ShowsTheMessageUnderTheApplicationTitle) {
  testing::FakeMessageBoxes boxes;
  ShowExceptionBox(boxes, ApplicationTitle("C:\\Tools\\QvnToolbox.exe"),
                   std::make_exception_ptr(std::runtime_error("Cannot open file")));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, "QvnToolbox");
  EXPECT_EQ(boxes.shown[0].text, "Cannot open file.");
  EXPECT_EQ(boxes.shown[0].kind, MessageKind::Error);
  EXPECT_EQ(boxes.shown[0].buttons, std::vector<DialogButton>{DialogButton::Ok});
}

}  // namespace
}  // namespace qvn::platform
