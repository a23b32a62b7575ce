#include "tests/native/quicklogin/LoginScriptRig.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "quicklogin/QuickLogin.h"

namespace qvn::testing {

namespace {

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

ProgramResult RunProgram(const std::vector<std::string>& arguments) {
  std::string command;
  for (const auto& argument : arguments) command += ShellQuoted(argument) + " ";
  command += "2>&1";
  ProgramResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) throw std::runtime_error("cannot run " + command);
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.output.append(buffer, n);
  const int status = ::pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

LoginScriptRig::LoginScriptRig()
    : settings_(std::make_unique<TSQLConfigFile>(temp_.Posix() + "/brisklet.db")) {
  temp_.MakeFolder("Game");
  SetGameFolder("C:\\Game");
}

void LoginScriptRig::SetGameFolder(const std::string& ansiFolder) {
  settings_->WriteString("Usage", "GameFolder", ansiFolder);
}

void LoginScriptRig::Write(const std::string& login, const std::string& password,
                           platform::IFileSystem* files) {
  WriteQuickLoginScript(LoginTemplateText(), login, password, *settings_,
                        files ? *files : temp_.Files(), text_);
}

std::vector<std::string> LoginScriptRig::ScriptFolderNames() const {
  std::vector<std::string> names;
  const auto folder = std::filesystem::path(temp_.Posix()) / ScriptRelative;
  for (const auto& entry : std::filesystem::directory_iterator(folder.parent_path()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

ProgramResult LoginScriptRig::Compile() const {
  return RunProgram({QVN_LUAC51, "-p", temp_.Posix() + "/" + ScriptRelative});
}

ProgramResult LoginScriptRig::RunCheck(const std::string& check) const {
  return RunProgram({QVN_LUA51, QVN_LOGIN_SCREEN_STUBS, temp_.Posix() + "/" + ScriptRelative,
                     check, temp_.Posix()});
}

LoginScriptRig::Credentials LoginScriptRig::AutoLogin() const {
  const ProgramResult run = RunCheck("autologin");
  if (run.exitCode != 0) throw std::runtime_error("the login screen failed: " + run.output);
  return {temp_.Read("login.bin"), temp_.Read("password.bin")};
}

}  // namespace qvn::testing
