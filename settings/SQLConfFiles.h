#pragma once
// The settings store: string and Boolean values addressed by section and key, kept in an
// SQLite 3 database file with one table per section (columns `key` and `value`). Every call
// is a statement of its own against the file, committed when it runs; nothing is cached, so
// a value written is what the next read returns. Texts are stored byte for byte as the
// program holds them (ANSI); Booleans as "true" and "false".

#include <memory>
#include <stdexcept>
#include <string>

struct sqlite3;

namespace qvn {

// The database cannot be opened or created at the path.
class ESQLConfigOpenError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The engine rejected a statement; the message is the engine's.
class ESQLConfigError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TSQLConfigFile {
 public:
  // Opens the database, creating an empty file when there is none. path is the file as the
  // program names it (it appears in the error message); databaseFile is the same file as the
  // SQLite library must be given it (UTF-8, the platform's form), by default path itself.
  // Raises ESQLConfigOpenError: File "<path>" not found or not an sqlite database.
  explicit TSQLConfigFile(const std::string& path, const std::string& databaseFile = {});
  ~TSQLConfigFile();
  TSQLConfigFile(const TSQLConfigFile&) = delete;
  TSQLConfigFile& operator=(const TSQLConfigFile&) = delete;

  const std::string& Path() const { return path_; }

  // The stored value, or empty text when the key has no row. Creates the section's table
  // when it does not exist yet.
  std::string ReadString(const std::string& section, const std::string& key);
  // Stores value under key, replacing any earlier value.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  // true for a stored "true", false for "false", defaultValue for anything else or nothing.
  bool ReadBool(const std::string& section, const std::string& key, bool defaultValue);
  void WriteBool(const std::string& section, const std::string& key, bool value);

 private:
  class Statement;
  void CreateSection(const std::string& section);
  bool HasRow(const std::string& section, const std::string& key);

  std::string path_;
  sqlite3* db_ = nullptr;
};

}  // namespace qvn
