#include "quicklogin/QuickLogin.h"

#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/OsError.h"
#include "platform/PathText.h"
#include "quicklogin/LuaLiteral.h"
#include "quicklogin/TextLines.h"
#include "settings/SQLConfFiles.h"

namespace qvn {

namespace {

using platform::EOSError;

constexpr std::string_view LoginPlaceholder = "{SELECTED_LOGIN}";
constexpr std::string_view PasswordPlaceholder = "{SELECTED_PASSWORD}";

constexpr const char* SettingsSection = "Usage";
constexpr const char* GameFolderKey = "GameFolder";
constexpr const char* InterfaceFolderSuffix = "\\Interface";
constexpr const char* LoginXmlFolderSuffix = "\\Interface\\loginxml";
constexpr const char* ScriptFileSuffix = "\\Interface\\loginxml\\accountlogin.lua";
constexpr const char16_t* TemporaryFilePrefix = u"acl";

constexpr const char* StreamWriteError = "Stream write error";

// The texts of the run-time library's input/output errors, which a failed folder creation
// reports; other codes read "I/O error <code>".
struct InOutErrorText {
  std::uint32_t code;
  const char* text;
};
constexpr std::array<InOutErrorText, 7> InOutErrorTexts = {{
    {2, "File not found"},
    {3, "Invalid filename"},
    {4, "Too many open files"},
    {5, "File access denied"},
    {100, "Read beyond end of file"},
    {101, "Disk full"},
    {106, "Invalid numeric input"},
}};

std::string InOutErrorMessage(std::uint32_t code) {
  for (const auto& entry : InOutErrorTexts)
    if (entry.code == code) return entry.text;
  return "I/O error " + std::to_string(code);
}

// The system's message as it ends a sentence of ours: no trailing blanks, breaks or full stops.
std::string TrimmedSystemMessage(std::string message) {
  while (!message.empty() &&
         (static_cast<unsigned char>(message.back()) <= ' ' || message.back() == '.'))
    message.pop_back();
  return message;
}

// One pass over the template: each placeholder found is replaced, and the search goes on
// behind it in the template, so an inserted credential is never searched itself.
std::string FillPlaceholders(std::string_view text, std::string_view loginBody,
                             std::string_view passwordBody) {
  struct Fill {
    std::string_view placeholder;
    std::string_view value;
    std::size_t next;
  };
  std::array<Fill, 2> fills = {{{LoginPlaceholder, loginBody, text.find(LoginPlaceholder)},
                                 {PasswordPlaceholder, passwordBody, text.find(PasswordPlaceholder)}}};
  std::string result;
  result.reserve(text.size() + loginBody.size() + passwordBody.size());
  std::size_t from = 0;
  for (;;) {
    Fill* first = nullptr;
    for (auto& fill : fills) {
      if (fill.next != std::string_view::npos && fill.next < from)
        fill.next = text.find(fill.placeholder, from);
      if (fill.next != std::string_view::npos && (!first || fill.next < first->next)) first = &fill;
    }
    if (!first) break;
    result.append(text, from, first->next - from);
    result.append(first->value);
    from = first->next + first->placeholder.size();
  }
  result.append(text, from);
  return result;
}

// The game folder as stored, followed by suffix: ANSI for messages, UTF-16 for the file system.
struct GamePath {
  std::string ansi;
  std::u16string wide;
};

GamePath ReadGamePath(TSQLConfigFile& settings, const platform::ITextServices& text,
                      const char* suffix) {
  GamePath path;
  path.ansi = settings.ReadString(SettingsSection, GameFolderKey) + suffix;
  path.wide = text.AnsiToWide(path.ansi);
  return path;
}

bool IsFolder(const platform::IFileSystem& files, const std::u16string& path) {
  const auto attributes = files.GetAttributes(path);
  return attributes && (*attributes & platform::fileattr::Directory);
}

void EnsureFolder(platform::IFileSystem& files, const std::u16string& path) {
  if (IsFolder(files, path)) return;
  try {
    files.MakeDirectory(path);
  } catch (const EOSError& error) {
    // Someone else may have made it in the meantime; a file of that name is no folder.
    if (error.Code() == platform::oserror::AlreadyExists && IsFolder(files, path)) return;
    throw EQuickLoginError(InOutErrorMessage(error.Code()));
  }
}

// A temporary file that is deleted on destruction unless it has been moved into place.
class TemporaryFile {
 public:
  TemporaryFile(platform::IFileSystem& files, const std::u16string& folder)
      : files_(files), path_(files.CreateTemporaryFile(folder, TemporaryFilePrefix)) {}
  ~TemporaryFile() {
    if (!path_.empty()) files_.RemoveFile(path_);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::u16string& Path() const { return path_; }

  // Moves the file over target (replacing it); from then on the file is no longer ours.
  void MoveTo(const std::u16string& target) {
    files_.Rename(path_, target, true);
    path_.clear();
  }

 private:
  platform::IFileSystem& files_;
  std::u16string path_;
};

void WriteAll(platform::IFile& file, const std::string& content) {
  try {
    if (file.Write(content.data(), content.size()) != content.size())
      throw EQuickLoginError(StreamWriteError);
    file.Flush();
  } catch (const EOSError&) {
    throw EQuickLoginError(StreamWriteError);
  }
}

// Writes content beside the script and then moves it over the script, so that the old
// script stays whole until the new one is complete.
void SaveScript(platform::IFileSystem& files, const GamePath& script, const std::string& content) {
  const auto cannotCreate = [&script](const EOSError& error) {
    return EQuickLoginError("Cannot create file \"" + script.ansi + "\". " +
                            TrimmedSystemMessage(error.what()));
  };
  std::unique_ptr<TemporaryFile> temporary;
  std::unique_ptr<platform::IFile> file;
  try {
    temporary = std::make_unique<TemporaryFile>(
        files, platform::ExcludeTrailingSeparators(platform::ExtractFilePath(script.wide)));
    file = files.Open(temporary->Path(), platform::FileAccess::Write, platform::ShareNone,
                      platform::FileDisposition::CreateAlways);
  } catch (const EOSError& error) {
    throw cannotCreate(error);
  }
  WriteAll(*file, content);
  file.reset();  // closed before it is moved
  try {
    temporary->MoveTo(script.wide);
  } catch (const EOSError& error) {
    throw cannotCreate(error);
  }
}

}  // namespace

void WriteQuickLoginScript(const std::string& templateText, const std::string& login,
                           const std::string& password, TSQLConfigFile& settings,
                           platform::IFileSystem& files, const platform::ITextServices& text) {
  const std::string normalised = JoinLines(SplitLines(templateText));
  const std::string filled =
      FillPlaceholders(normalised, LuaStringBody(login), LuaStringBody(password));
  const std::vector<std::string> lines = SplitLines(filled);

  EnsureFolder(files, ReadGamePath(settings, text, InterfaceFolderSuffix).wide);
  EnsureFolder(files, ReadGamePath(settings, text, LoginXmlFolderSuffix).wide);
  SaveScript(files, ReadGamePath(settings, text, ScriptFileSuffix), JoinLines(lines));
}

}  // namespace qvn
