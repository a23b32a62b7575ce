#pragma once
// The quick login: the login-screen script template, and the writer that puts the player's
// credentials into it and saves it into the game folder.

#include <stdexcept>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace qvn {

class TSQLConfigFile;

// The built-in template: 231 lines of Lua, lines joined by CR LF.
const std::string& LoginTemplateText();

// Writes <GameFolder>\Interface\loginxml\accountlogin.lua from templateText with login and
// password put in, creating the two folders when they are missing. Raises an exception whose
// message is the failure's text (what follows "Ошибка создания файла: " in the error box).
void WriteQuickLoginScript(const std::string& templateText, const std::string& login,
                           const std::string& password, TSQLConfigFile& settings,
                           platform::IFileSystem& files, const platform::ITextServices& text);

}  // namespace qvn
