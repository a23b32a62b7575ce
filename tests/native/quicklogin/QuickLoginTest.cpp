#include "quicklogin/QuickLogin.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/OsError.h"
#include "platform/Utf.h"
#include "tests/native/quicklogin/FaultyFileSystem.h"
#include "tests/native/quicklogin/LoginScriptRig.h"

namespace qvn {
namespace {

using ::testing::ElementsAre;
using testing::LoginScriptRig;

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (const int v : values) bytes += static_cast<char>(v);
  return bytes;
}

std::string EveryByteButNul(std::size_t size) {
  std::string bytes;
  for (std::size_t i = 0; i < size; ++i) bytes += static_cast<char>(1 + i % 255);
  return bytes;
}

std::string LongPassword() {
  std::string text;
  while (text.size() < 100'000) text += "\"]]\\--\r\nпароль ";
  return text;
}

std::string Message(const std::function<void()>& action) {
  try {
    action();
  } catch (const EQuickLoginError& error) {
    return error.what();
  }
  return "(no error)";
}

struct CredentialCase {
  const char* name;
  std::string login;
  std::string password;
};
void PrintTo(const CredentialCase& c, std::ostream* os) { *os << c.name; }

class CredentialTest : public ::testing::TestWithParam<CredentialCase> {};

// Whatever was typed, the game gets exactly those bytes and nothing of it runs as Lua.
TEST_P(CredentialTest, ReachesTheGameExactlyAsTyped) {
  const auto& c = GetParam();
  LoginScriptRig rig;
  rig.Write(c.login, c.password);
  const auto compiled = rig.Compile();
  ASSERT_EQ(compiled.exitCode, 0) << compiled.output;
  const auto received = rig.AutoLogin();
  EXPECT_EQ(received.login, c.login);
  EXPECT_EQ(received.password, c.password);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CredentialTest,
    ::testing::ValuesIn(std::vector<CredentialCase>{
        {"Empty", "", ""},
        {"Quotes", "say \"hi\"", "\"); QuitGame(); --"},
        {"Backslashes", "C:\\new\\table\\", "\\\\\"\\"},
        {"LineBreaks", "first\r\nsecond", "\n\r\r\n"},
        {"ControlBytes", Bytes({1, 9, 27, 127, 31}), std::string("a\0b", 3)},
        {"ControlBytesBeforeDigits", Bytes({1}) + "23", Bytes({127}) + "999" + Bytes({0}) + "0"},
        {"LongBracketsAndComments", "]]", "--[[ x ]] --[==["},
        {"PasswordPlaceholderInLogin", "{SELECTED_PASSWORD}", "pw"},
        {"LoginPlaceholderInPassword", "me", "{SELECTED_LOGIN}"},
        {"BothPlaceholdersInBoth", "a{SELECTED_LOGIN}{SELECTED_PASSWORD}",
         "{SELECTED_PASSWORD}{SELECTED_LOGIN}b"},
        {"Cyrillic", "Игрок_Кворвейн", "пароль№ЁёЯя" + Bytes({0x98, 0xFF})},
        {"LongText", EveryByteButNul(65'536), LongPassword()},
    }),
    [](const auto& test) { return std::string(test.param.name); });

std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
    lines.push_back(text.substr(start, at - start));
  if (start != text.size()) lines.push_back("(unterminated) " + text.substr(start));
  return lines;
}

TEST(QuickLoginScriptTest, IsTheTemplateFilledInWithCrLfAfterEveryLine) {
  LoginScriptRig rig;
  rig.Write("player", "secret");
  const std::string script = rig.Script();
  EXPECT_EQ(script.rfind("ACCOUNTLOGIN_FADEIN_TIME1 \t= 1.0;\r\n", 0), 0u) << "a header or mark first";
  EXPECT_EQ(script.find("{SELECTED_"), std::string::npos);

  const auto lines = CrLfLines(script);
  ASSERT_EQ(lines.size(), 231u);
  for (const auto& line : lines) EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;

  std::vector<std::string> templateLines = CrLfLines(LoginTemplateText() + "\r\n");
  templateLines[11] = "\tAccountLoginAccountEdit:SetText( \"player\" );";
  templateLines[12] = "\tAccountLoginPasswordEdit:SetText( \"secret\" );";
  EXPECT_EQ(lines, templateLines);
}

struct TemplateCase {
  const char* name;
  std::string templateText;
  std::string login;
  std::string password;
  std::string expectedFile;
};
void PrintTo(const TemplateCase& c, std::ostream* os) { *os << c.name; }

class TemplateFormTest : public ::testing::TestWithParam<TemplateCase> {};

TEST_P(TemplateFormTest, WritesTheNormalisedFilledInLines) {
  const auto& c = GetParam();
  LoginScriptRig rig;
  WriteQuickLoginScript(c.templateText, c.login, c.password, rig.Settings(), rig.Temp().Files(),
                        rig.Text());
  EXPECT_EQ(rig.Script(), c.expectedFile);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TemplateFormTest,
    ::testing::ValuesIn(std::vector<TemplateCase>{
        {"AllLineBreaksBecomeCrLf", "a\rb\nc\r\n\r\nd", "", "", "a\r\nb\r\nc\r\n\r\nd\r\n"},
        {"FinalBreakOpensNoLine", "a\n", "", "", "a\r\n"},
        {"NulEndsTheTemplate", std::string("a\r\nb\0c\r\n", 8), "", "", "a\r\nb\r\n"},
        {"Empty", "", "x", "y", ""},
        {"EveryPlaceholderFilled", "{SELECTED_LOGIN}|{SELECTED_PASSWORD}\n{SELECTED_LOGIN}", "L", "P",
         "L|P\r\nL\r\n"},
        {"InsertedTextNotSearched", "[{SELECTED_LOGIN}][{SELECTED_PASSWORD}]",
         "{SELECTED_LOGIN}{SELECTED_PASSWORD}", "x", "[{SELECTED_LOGIN}{SELECTED_PASSWORD}][x]\r\n"},
        {"LetterCaseCounts", "{selected_login}{SELECTED_LOGIN }", "x", "y",
         "{selected_login}{SELECTED_LOGIN }\r\n"},
        {"EscapedAsLuaStringBody", "\"{SELECTED_LOGIN}\"", "a\"b\\\r\n" + Bytes({0, 7}) + "9",
         "", "\"a\\\"b\\\\\\013\\010\\000\\0079\"\r\n"},
    }),
    [](const auto& test) { return std::string(test.param.name); });

struct FolderCase {
  const char* name;
  bool interfaceExists;
  bool loginXmlExists;
  bool oldScript;
};
void PrintTo(const FolderCase& c, std::ostream* os) { *os << c.name; }

class FolderStateTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(FolderStateTest, WritesTheScriptCreatingWhatIsMissing) {
  const auto& c = GetParam();
  LoginScriptRig rig;
  if (c.interfaceExists) rig.Temp().MakeFolder("Game/Interface");
  if (c.loginXmlExists) rig.Temp().MakeFolder("Game/Interface/loginxml");
  if (c.oldScript) rig.Temp().Write(LoginScriptRig::ScriptRelative, "old script\r\n");
  rig.Write("player", "secret");
  EXPECT_THAT(rig.ScriptFolderNames(), ElementsAre("accountlogin.lua"));
  EXPECT_EQ(CrLfLines(rig.Script()).at(11), "\tAccountLoginAccountEdit:SetText( \"player\" );");
}

INSTANTIATE_TEST_SUITE_P(Cases, FolderStateTest,
                         ::testing::Values(FolderCase{"Neither", false, false, false},
                                           FolderCase{"OnlyInterface", true, false, false},
                                           FolderCase{"Both", true, true, false},
                                           FolderCase{"OldScriptReplaced", true, true, true}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(QuickLoginWriterTest, SecondRunLeavesOnlyTheSecondPair) {
  LoginScriptRig rig;
  rig.Write("first-login", "first-password");
  rig.Write("second-login", "second-password");
  const auto received = rig.AutoLogin();
  EXPECT_EQ(received.login, "second-login");
  EXPECT_EQ(received.password, "second-password");
  EXPECT_EQ(rig.Script().find("first-"), std::string::npos);
  EXPECT_THAT(rig.ScriptFolderNames(), ElementsAre("accountlogin.lua"));
}

TEST(QuickLoginWriterTest, ReadOnlyScriptStaysAsItWas) {
  LoginScriptRig rig;
  rig.Temp().Write(LoginScriptRig::ScriptRelative, "old script\r\n");
  rig.Temp().Files().SetAttributes(platform::Utf8ToUtf16(LoginScriptRig::ScriptWindowsPath),
                                   platform::fileattr::ReadOnly);
  EXPECT_EQ(Message([&] { rig.Write("player", "secret"); }),
            "Cannot create file \"C:\\Game\\Interface\\loginxml\\accountlogin.lua\". Access is denied");
  EXPECT_EQ(rig.Script(), "old script\r\n");
  EXPECT_THAT(rig.ScriptFolderNames(), ElementsAre("accountlogin.lua"));
}

TEST(QuickLoginWriterTest, VanishedGameFolderIsAnInvalidFilename) {
  LoginScriptRig rig;
  rig.SetGameFolder("C:\\Gone");
  EXPECT_EQ(Message([&] { rig.Write("player", "secret"); }), "Invalid filename");
  EXPECT_FALSE(rig.Temp().Exists("Gone"));
}

TEST(QuickLoginWriterTest, FileInPlaceOfAFolderIsReportedByItsCode) {
  LoginScriptRig rig;
  rig.Temp().Write("Game/Interface", "not a folder");
  EXPECT_EQ(Message([&] { rig.Write("player", "secret"); }), "I/O error 183");
  EXPECT_EQ(rig.Temp().Read("Game/Interface"), "not a folder");
}

TEST(QuickLoginWriterTest, WritesIntoACyrillicGameFolderAndNamesItInMessages) {
  LoginScriptRig rig;
  const std::string posixFolder = platform::Utf16ToUtf8(u"Игры/Кворвейн");
  rig.Temp().MakeFolder(posixFolder);
  rig.SetGameFolder("C:\\Игры\\Кворвейн");
  rig.Write("player", "secret");
  const std::string script = posixFolder + "/Interface/loginxml/accountlogin.lua";
  ASSERT_TRUE(rig.Temp().Exists(script));

  rig.Temp().Files().SetAttributes(rig.Temp().Files().ToWindows(rig.Temp().Posix() + "/" + script),
                                   platform::fileattr::ReadOnly);
  EXPECT_EQ(Message([&] { rig.Write("other", "secret"); }),
            "Cannot create file \"C:\\Игры\\Кворвейн\\Interface\\loginxml\\accountlogin.lua\". "
            "Access is denied");
}

TEST(QuickLoginWriterTest, WritesBelowADriveRoot) {
  LoginScriptRig rig;
  rig.SetGameFolder("C:\\");
  rig.Write("player", "secret");
  EXPECT_TRUE(rig.Temp().Exists("Interface/loginxml/accountlogin.lua"));
}

struct FolderErrorCase {
  std::uint32_t code;
  const char* message;
};
void PrintTo(const FolderErrorCase& c, std::ostream* os) { *os << c.code << " -> " << c.message; }

class FolderErrorTest : public ::testing::TestWithParam<FolderErrorCase> {};

TEST_P(FolderErrorTest, NamesTheRunTimeLibraryText) {
  const auto& c = GetParam();
  LoginScriptRig rig;
  testing::FaultyFileSystem files(rig.Temp().Files());
  files.makeDirectoryError = c.code;
  EXPECT_EQ(Message([&] { rig.Write("player", "secret", &files); }), c.message);
  EXPECT_FALSE(rig.Temp().Exists("Game/Interface"));
}

INSTANTIATE_TEST_SUITE_P(Codes, FolderErrorTest,
                         ::testing::Values(FolderErrorCase{2, "File not found"},
                                           FolderErrorCase{3, "Invalid filename"},
                                           FolderErrorCase{4, "Too many open files"},
                                           FolderErrorCase{5, "File access denied"},
                                           FolderErrorCase{100, "Read beyond end of file"},
                                           FolderErrorCase{101, "Disk full"},
                                           FolderErrorCase{106, "Invalid numeric input"},
                                           FolderErrorCase{112, "I/O error 112"},
                                           FolderErrorCase{183, "I/O error 183"}));

struct FileFaultCase {
  const char* name;
  std::function<void(testing::FaultyFileSystem&)> arm;
  std::string message;
};
void PrintTo(const FileFaultCase& c, std::ostream* os) { *os << c.name; }

class FileFaultTest : public ::testing::TestWithParam<FileFaultCase> {};

// However the new script fails, the old one is left whole and no temporary file stays.
TEST_P(FileFaultTest, KeepsTheOldScript) {
  const auto& c = GetParam();
  LoginScriptRig rig;
  rig.Temp().Write(LoginScriptRig::ScriptRelative, "old script\r\n");
  testing::FaultyFileSystem files(rig.Temp().Files());
  c.arm(files);
  EXPECT_EQ(Message([&] { rig.Write("player", "secret", &files); }), c.message);
  EXPECT_EQ(rig.Script(), "old script\r\n");
  EXPECT_THAT(rig.ScriptFolderNames(), ElementsAre("accountlogin.lua"));
}

const std::string CannotCreate =
    "Cannot create file \"C:\\Game\\Interface\\loginxml\\accountlogin.lua\". ";

INSTANTIATE_TEST_SUITE_P(
    Faults, FileFaultTest,
    ::testing::ValuesIn(std::vector<FileFaultCase>{
        {"DiskFullMidway", [](auto& f) { f.bytesUntilDiskFull = 1000; }, "Stream write error"},
        {"DiskFullAtOnce", [](auto& f) { f.bytesUntilDiskFull = 0; }, "Stream write error"},
        {"FlushFails", [](auto& f) { f.flushFails = true; }, "Stream write error"},
        {"NoRoomForTheNewFile",
         [](auto& f) { f.createTemporaryError = platform::oserror::DiskFull; },
         CannotCreate + "There is not enough space on the disk"},
        {"NewFileCannotBeOpened",
         [](auto& f) { f.openError = platform::oserror::SharingViolation; },
         CannotCreate + "The process cannot access the file because it is being used by another process"},
        {"OldScriptCannotBeReplaced",
         [](auto& f) { f.renameError = platform::oserror::AccessDenied; },
         CannotCreate + "Access is denied"},
    }),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace qvn
