#pragma once
// The backup command after the game folder has been obtained: the dated archive of the
// game's interface tree, the game's Documents folder and, when "StoreScreenshots" is on, the
// screenshots tree, written stage by stage into the program folder.

#include <functional>
#include <stdexcept>
#include <string>

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace qvn {

class TSQLConfigFile;

struct BackupEnvironment {
  TSQLConfigFile& settings;
  platform::IFileSystem& files;
  const platform::ITextServices& text;
  const platform::IClock& clock;
  platform::IMessageBoxes& messageBoxes;        // the writer's Abort/Retry/Ignore box
  std::string programFolder;                    // ANSI, ending in "\"
  std::function<std::string()> documentsFolder;  // ANSI, no trailing separator
  std::function<void(const std::string&)> setStatus;  // the status bar's panel 0
  std::function<void()> processMessages;        // handles the messages already queued
};

// The command cannot start: an archive of today's name exists and cannot be deleted (another
// program holds it, or it is write-protected). An old archive is never updated.
class EBackupError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes the archive; errors other than single files' failures propagate (the archive is
// closed first and keeps the stages completed before the failure).
void CreateBackup(BackupEnvironment& environment);

}  // namespace qvn
