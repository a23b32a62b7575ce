#include "settings/SQLConfFiles.h"

#include <sqlite3.h>

namespace qvn {

namespace {

constexpr const char* TrueText = "true";
constexpr const char* FalseText = "false";

std::string CreateTableStatement(const std::string& section) {
  return "CREATE TABLE IF NOT EXISTS `" + section +
         "`( `key` TEXT(100) NOT NULL, `value` TEXT(1024) NOT NULL, PRIMARY KEY (\"key\" ASC), "
         "UNIQUE (\"key\" ASC) ON CONFLICT REPLACE );";
}

}  // namespace

// One prepared statement; finalized when it goes out of scope. Keys and values are bound as
// parameters, so that no text needs quoting and any text is stored and read back unchanged.
class TSQLConfigFile::Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) : db_(db) {
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
        SQLITE_OK)
      Fail();
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, const std::string& text) {
    if (sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK)
      Fail();
    return *this;
  }

  // Advances to the next row; false when there is none.
  bool Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Fail();
  }

  std::string Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
                : std::string();
  }

 private:
  [[noreturn]] void Fail() const { throw ESQLConfigError(sqlite3_errmsg(db_)); }

  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

TSQLConfigFile::TSQLConfigFile(const std::string& path, const std::string& databaseFile)
    : path_(path) {
  const std::string& file = databaseFile.empty() ? path : databaseFile;
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                 nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close(db);  // a failed open still hands out a connection object to release
    throw ESQLConfigOpenError("File \"" + path + "\" not found or not an sqlite database.");
  }
  db_ = db;
}

TSQLConfigFile::~TSQLConfigFile() { sqlite3_close(db_); }

void TSQLConfigFile::CreateSection(const std::string& section) {
  Statement(db_, CreateTableStatement(section)).Step();
}

bool TSQLConfigFile::HasRow(const std::string& section, const std::string& key) {
  Statement query(db_, "SELECT `value` FROM `" + section + "` WHERE `key` = ?");
  query.Bind(1, key);
  int rows = 0;
  while (rows < 2 && query.Step()) ++rows;
  return rows == 1;
}

std::string TSQLConfigFile::ReadString(const std::string& section, const std::string& key) {
  CreateSection(section);
  Statement query(db_, "SELECT `value` FROM `" + section + "` WHERE `key` = ?");
  query.Bind(1, key);
  if (!query.Step()) return {};
  std::string value = query.Text(0);
  return query.Step() ? std::string() : value;  // only a single row counts
}

void TSQLConfigFile::WriteString(const std::string& section, const std::string& key,
                                 const std::string& value) {
  CreateSection(section);
  if (HasRow(section, key)) {
    Statement(db_, "UPDATE `" + section + "` SET `value` = ? WHERE `key` = ?")
        .Bind(1, value)
        .Bind(2, key)
        .Step();
  } else {
    Statement(db_, "INSERT INTO `" + section + "` (`key`,`value`) VALUES (?,?)")
        .Bind(1, key)
        .Bind(2, value)
        .Step();
  }
}

bool TSQLConfigFile::ReadBool(const std::string& section, const std::string& key,
                              bool defaultValue) {
  const std::string text = ReadString(section, key);
  if (text == TrueText) return true;
  if (text == FalseText) return false;
  return defaultValue;
}

void TSQLConfigFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? TrueText : FalseText);
}

}  // namespace qvn
