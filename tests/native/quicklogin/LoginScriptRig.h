#pragma once
// A game folder with a settings store that names it, the quick-login writer aimed at it, and
// the Lua 5.1 tools that check what the writer wrote.

#include <memory>
#include <string>
#include <vector>

#include "platform/posix/PosixText.h"
#include "settings/SQLConfFiles.h"
#include "tests/fakes/TempFolder.h"

namespace qvn::testing {

struct ProgramResult {
  int exitCode = -1;
  std::string output;  // standard output and standard error together
};

// Runs a program (its path first) and waits for it.
ProgramResult RunProgram(const std::vector<std::string>& arguments);

class LoginScriptRig {
 public:
  // The stored game folder is C:\Game, that is Posix() + "/Game".
  LoginScriptRig();

  static constexpr const char* ScriptRelative = "Game/Interface/loginxml/accountlogin.lua";
  static constexpr const char* ScriptWindowsPath = "C:\\Game\\Interface\\loginxml\\accountlogin.lua";

  TempFolder& Temp() { return temp_; }
  TSQLConfigFile& Settings() { return *settings_; }
  const platform::posix::PosixText& Text() const { return text_; }

  void SetGameFolder(const std::string& ansiFolder);
  // Writes the script from the built-in template through files (the rig's own by default).
  void Write(const std::string& login, const std::string& password,
             platform::IFileSystem* files = nullptr);
  std::string Script() const { return temp_.Read(ScriptRelative); }
  // The names in the script's folder.
  std::vector<std::string> ScriptFolderNames() const;

  // luac5.1 -p on the script.
  ProgramResult Compile() const;
  // The stand-in login screen's check of that name on the script.
  ProgramResult RunCheck(const std::string& check) const;
  // What the script hands DefaultServerLogin when UserAgreement_OnShow runs.
  struct Credentials {
    std::string login;
    std::string password;
  };
  Credentials AutoLogin() const;

 private:
  TempFolder temp_;
  std::unique_ptr<TSQLConfigFile> settings_;
  platform::posix::PosixText text_;
};

}  // namespace qvn::testing
