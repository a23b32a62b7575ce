#include "backup/BackupCommand.h"

#include <cstdio>

#include "backup/ZipWriter.h"
#include "settings/SQLConfFiles.h"

namespace qvn {

namespace {

constexpr const char* Section = "Usage";
constexpr const char* GameFolderKey = "GameFolder";
constexpr const char* StoreScreenshotsKey = "StoreScreenshots";
constexpr bool StoreScreenshotsDefault = true;

// "dd-mm-yyyy.zip": literal hyphens, whatever the system's date separator.
std::string ArchiveName(const platform::LocalDateTime& date) {
  char name[32];
  std::snprintf(name, sizeof name, "%02d-%02d-%04d.zip", date.day, date.month, date.year);
  return name;
}

}  // namespace

void CreateBackup(BackupEnvironment& env) {
  const std::string archive = env.programFolder + ArchiveName(env.clock.Now());
  const std::u16string archivePath = env.text.AnsiToWide(archive);
  const auto gameBase = [&env] {
    return env.text.AnsiToWide(env.settings.ReadString(Section, GameFolderKey)) + u"\\";
  };

  TZipWriter writer({env.files, env.text, env.clock, env.messageBoxes});
  writer.SetFileName(archivePath);
  env.files.RemoveFile(archivePath);
  if (env.files.GetAttributes(archivePath))
    throw EBackupError("Не удалось удалить старый архив \"" + archive +
                       "\": файл занят другой программой или защищён от записи. Backup не создан");
  writer.SetBaseDir(gameBase());
  writer.Open();

  env.setStatus("Interface...");
  env.processMessages();
  writer.AddByMask(u"interface\\*.*", SearchEverything, u"");

  env.setStatus("Documents...");
  writer.SetBaseDir(env.text.AnsiToWide(env.documentsFolder()));
  env.processMessages();
  writer.AddByMask(u"Quorvane\\*.*", SearchEverything, u"");

  if (env.settings.ReadBool(Section, StoreScreenshotsKey, StoreScreenshotsDefault)) {
    env.setStatus("Screenshots...");
    env.processMessages();
    writer.SetBaseDir(gameBase());
    writer.AddByMask(u"screenshots\\*.*", SearchEverything, u"");
  }

  writer.Close();
  env.setStatus("");
}

}  // namespace qvn
