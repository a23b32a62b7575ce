#pragma once
// The quick login: the login-screen script template, and the writer that puts the player's
// credentials into it and saves it into the game folder.

#include <stdexcept>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace qvn {

class TSQLConfigFile;

// The script could not be written. The message is the failure's text as the user sees it
// after "Ошибка создания файла: " ("Invalid filename", "Cannot create file "<path>". <why>",
// "Stream write error", ...).
class EQuickLoginError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The built-in template: 231 lines of Lua, lines joined by CR LF (no line break after the
// last). Each of "{SELECTED_LOGIN}" and "{SELECTED_PASSWORD}" stands once, inside a
// double-quoted Lua string literal.
const std::string& LoginTemplateText();

// Writes <GameFolder>\Interface\loginxml\accountlogin.lua from templateText with login and
// password put in, creating the two folders when they are missing. Raises an exception whose
// message is the failure's text (what follows "Ошибка создания файла: " in the error box).
//
// The template's line breaks (CR LF, lone CR, lone LF) all become CR LF, a NUL ends it, and
// every line of the file ends with CR LF. Each placeholder of the template is replaced by
// its credential written as the body of a Lua string literal that yields exactly the typed
// bytes (backslash, double quote and control bytes escaped); text inside an inserted
// credential is never searched for placeholders.
//
// "GameFolder" is read from settings anew for each of the two folders and for the file.
// The script is written to a temporary file in its folder and only then moved over an
// existing script, so a failure leaves the old script as it was (folders already created
// stay). Failures raise EQuickLoginError: a folder that cannot be created gives the text
// for its system error code ("File not found" for 2, "Invalid filename" for 3, ...,
// "I/O error <code>"); a file that cannot be created or replaced gives
// "Cannot create file "<script's full path>". <system message>"; a short write gives
// "Stream write error". Errors of the settings store propagate as they are.
void WriteQuickLoginScript(const std::string& templateText, const std::string& login,
                           const std::string& password, TSQLConfigFile& settings,
                           platform::IFileSystem& files, const platform::ITextServices& text);

}  // namespace qvn
