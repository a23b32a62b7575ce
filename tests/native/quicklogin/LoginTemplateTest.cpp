#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quicklogin/QuickLogin.h"
#include "tests/native/quicklogin/LoginScriptRig.h"

namespace qvn {
namespace {

// The template's lines, split at its CR LF joints (an independent reading, not SplitLines).
std::vector<std::string> TemplateLines() {
  const std::string& text = LoginTemplateText();
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
    lines.push_back(text.substr(start, at - start));
  lines.push_back(text.substr(start));
  return lines;
}

TEST(LoginTemplateTest, Has231AsciiLinesJoinedByCrLf) {
  const std::string& text = LoginTemplateText();
  const auto lines = TemplateLines();
  ASSERT_EQ(lines.size(), 231u);
  EXPECT_NE(text.substr(text.size() - 2), "\r\n") << "an empty line at the end";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    SCOPED_TRACE("line " + std::to_string(i + 1) + ": " + line);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a lone line break";
    for (const char c : line) EXPECT_TRUE(c == '\t' || (c >= ' ' && c <= '~')) << int(c);
    const std::size_t indent = line.find_first_not_of('\t');
    if (indent != std::string::npos) {
      EXPECT_NE(line[indent], ' ') << "indented by spaces";
    }
  }
}

TEST(LoginTemplateTest, OpensWithTheConstantsAndTheAutomaticLogin) {
  const std::vector<std::string> expected = {
      "ACCOUNTLOGIN_FADEIN_TIME1 \t= 1.0;",
      "ACCOUNTLOGIN_FADEIN_TIME2 \t= 1.5;",
      "ACCOUNTLOGIN_AGREEMENT \t\t= 1;",
      "",
      "LOGIN_FLASH_MAX_ALPHA = 1.2;",
      "LOGIN_FLASH_MIN_ALPHA = 0.3;",
      "",
      "",
      "function UserAgreement_OnShow()",
      "\tUserAgreement:Hide();",
      "\tAccountLoginShow();",
      "\tAccountLoginAccountEdit:SetText( \"{SELECTED_LOGIN}\" );",
      "\tAccountLoginPasswordEdit:SetText( \"{SELECTED_PASSWORD}\" );",
      "\tAccountLogin_Login();",
      "end",
  };
  const auto lines = TemplateLines();
  ASSERT_GE(lines.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
}

TEST(LoginTemplateTest, HoldsEachPlaceholderOnceOnItsLine) {
  const auto lines = TemplateLines();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::size_t number = i + 1;
    EXPECT_EQ(lines[i].find("{SELECTED_LOGIN}") != std::string::npos, number == 12) << number;
    EXPECT_EQ(lines[i].find("{SELECTED_PASSWORD}") != std::string::npos, number == 13) << number;
  }
  const std::string& text = LoginTemplateText();
  EXPECT_EQ(text.find("{SELECTED_LOGIN}"), text.rfind("{SELECTED_LOGIN}"));
  EXPECT_EQ(text.find("{SELECTED_PASSWORD}"), text.rfind("{SELECTED_PASSWORD}"));
}

// Where each handler begins and ends; one empty line precedes each block, two the first.
struct Block {
  int first;
  int last;
  const char* opening;
  const char* closing;
};
constexpr Block Blocks[] = {
    {18, 50, "function AccountLogin_OnShow()", "end"},
    {52, 56, "function AccountLogin_OnKeyDown(this, key)", "end"},
    {58, 60, "function AccountLogin_OnKeyUp(this, key)", "end"},
    {62, 64, "function AccountLogin_OnMouseDown(this, key)", "end"},
    {66, 68, "function AccountLogin_OnMouseUp(this, key)", "end"},
    {70, 85, "function AccountLogin_OnUpdate(this, elapsedTime)", "end"},
    {87, 92, "function AccountLogin_Login()", "end"},
    {94, 96, "function AccountLogin_FocusPassword()", "end"},
    {98, 100, "function AccountLogin_FocusAccountName()", "end"},
    {102, 104, "function AccountLoginPasswordEdit_OnGained(this, arg1)", "end"},
    {106, 108, "function AccountLoginPasswordEdit_SetText(text)", "end"},
    {110, 112, "function AccountLogin_Exit()", "end"},
    {114, 133, "--[[function LoginFlashFrame_OnUpdate(this, elapsedTime)", "end]]"},
    {135, 141, "function AccountLogin_OnLoad()", "end"},
    {143, 147, "function AccountLogin_Show()", "end"},
    {149, 151, "function AccountLoginBoard_OnLoad(this)", "end"},
    {153, 159, "function AccountLoginBoard_OnEvent(this, event)", "end"},
    {161, 167, "function CompanyLogo_OnLoad(this)", "end"},
    {169, 192, "function CompanyLogo_OnUpdate(this, elapsedTime)", "end"},
    {194, 198, "function UserAgreement_OnHide()", "end"},
    {200, 202, "function VivoxUserAgreement_OnLoad(this)\t", "end"},
    {204, 218, "function VivoxUserAgreement_Show(this)", "end"},
    {220, 226, "function VivocUserAgreement_OnEvent(this, event)", "end"},
    {228, 231, "function VivoxUserAgreement_ReadFinish()", "end"},
};

TEST(LoginTemplateTest, PlacesEveryHandlerOnItsLines) {
  const auto lines = TemplateLines();
  ASSERT_EQ(lines.size(), 231u);
  const auto line = [&lines](int number) { return lines[static_cast<std::size_t>(number - 1)]; };
  EXPECT_EQ(line(16), "");
  EXPECT_EQ(line(17), "");
  int previousLast = 15;
  for (const Block& block : Blocks) {
    SCOPED_TRACE(block.opening);
    EXPECT_EQ(line(block.first), block.opening);
    EXPECT_EQ(line(block.last), block.closing);
    EXPECT_EQ(line(block.first - 1), "");
    EXPECT_EQ(previousLast + (previousLast == 15 ? 3 : 2), block.first) << "a line between blocks";
    for (int inner = block.first + 1; inner < block.last; ++inner) {
      EXPECT_NE(line(inner).substr(0, 8), "function") << "line " << inner;
      EXPECT_NE(line(inner), "end") << "a block ends early at line " << inner;
    }
    previousLast = block.last;
  }
  // The empty bodies: a bare empty line, except for the password field's handler.
  for (int number : {59, 63, 67}) EXPECT_EQ(line(number), "") << number;
  EXPECT_EQ(line(103), "\t");
  // The comment ends nowhere but after the flash handler's end.
  const std::string& text = LoginTemplateText();
  EXPECT_EQ(text.find("]]"), text.find("end]]") + 3);
  EXPECT_EQ(text.find("--[["), text.find("--[[function LoginFlashFrame_OnUpdate"));
}

// The written script's handlers, run in the interpreter against the stand-in login screen.
class LoginScreenTest : public ::testing::TestWithParam<const char*> {};

TEST_P(LoginScreenTest, BehavesAsTheGameExpects) {
  testing::LoginScriptRig rig;
  rig.Write("player", "secret");
  const testing::ProgramResult run = rig.RunCheck(GetParam());
  EXPECT_EQ(run.exitCode, 0) << run.output;
}

INSTANTIATE_TEST_SUITE_P(Checks, LoginScreenTest,
                         ::testing::Values("sequence", "hidden_JP", "hidden_HG", "hidden_SG",
                                           "hidden_by_client", "shown_by_client", "fade_in",
                                           "names", "keys_and_focus", "logos_and_board",
                                           "company_logo", "voice_agreement"),
                         [](const auto& test) { return std::string(test.param); });

TEST(LoginScreenStubsTest, ReportAFailedCheck) {
  testing::LoginScriptRig rig;
  rig.Write("player", "secret");
  EXPECT_NE(rig.RunCheck("no_such_check").exitCode, 0);
}

}  // namespace
}  // namespace qvn
