#include "settings/SQLConfFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <vector>

#include "tests/fakes/TempFolder.h"

namespace qvn {
namespace {

using ::testing::HasSubstr;

// An independent connection to the same file, to see what the store really wrote.
class RawDatabase {
 public:
  explicit RawDatabase(const std::string& path) {
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) throw std::runtime_error("open");
  }
  ~RawDatabase() { sqlite3_close(db_); }

  void Execute(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      const std::string message = error ? error : "?";
      sqlite3_free(error);
      throw std::runtime_error(message);
    }
  }

  std::vector<std::vector<std::string>> Rows(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
      throw std::runtime_error(sqlite3_errmsg(db_));
    std::vector<std::vector<std::string>> rows;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      std::vector<std::string> row;
      for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
        row.emplace_back(text ? std::string(text, sqlite3_column_bytes(stmt, i)) : "<null>");
      }
      rows.push_back(row);
    }
    sqlite3_finalize(stmt);
    return rows;
  }

 private:
  sqlite3* db_ = nullptr;
};

class SQLConfigFileTest : public ::testing::Test {
 protected:
  std::string DbPath() const { return temp.Posix() + "/brisklet.db"; }
  testing::TempFolder temp;
};

TEST_F(SQLConfigFileTest, FreshFileGetsTheUsageTableOnFirstReadAndDefaults) {
  TSQLConfigFile settings(DbPath());
  EXPECT_TRUE(RawDatabase(DbPath()).Rows("SELECT name FROM sqlite_master").empty())
      << "opening alone creates no table";

  EXPECT_EQ(settings.ReadString("Usage", "GameFolder"), "");
  EXPECT_TRUE(settings.ReadBool("Usage", "FirstStartMessage", true));
  EXPECT_FALSE(settings.ReadBool("Usage", "ToJPEG", false));

  // The table is exactly the one the statement of the file format creates.
  const auto schema = RawDatabase(DbPath()).Rows("SELECT name, sql FROM sqlite_master WHERE type='table'");
  ASSERT_EQ(schema.size(), 1u);
  EXPECT_EQ(schema[0][0], "Usage");
  EXPECT_EQ(schema[0][1],
            "CREATE TABLE `Usage`( `key` TEXT(100) NOT NULL, `value` TEXT(1024) NOT NULL, "
            "PRIMARY KEY (\"key\" ASC), UNIQUE (\"key\" ASC) ON CONFLICT REPLACE )");
}

TEST_F(SQLConfigFileTest, ValuesRoundTripByteForByte) {
  const std::vector<std::string> values = {
      "C:\\Games\\Кворвейн",        // Windows-1251 bytes
      "say \"hi\" and 'bye' `x`",  // every quote character
      "",                          // empty text
      "key",                       // spelled like a column name
      std::string("\xFF\x98\x01", 3),
  };
  TSQLConfigFile settings(DbPath());
  for (const auto& v : values) {
    settings.WriteString("Usage", "GameFolder", v);
    EXPECT_EQ(settings.ReadString("Usage", "GameFolder"), v);
    settings.WriteString("Usage", v, "as key");
    EXPECT_EQ(settings.ReadString("Usage", v), "as key");
  }
  // Stored as the same bytes, as text, without conversion.
  const auto rows = RawDatabase(DbPath()).Rows(
      "SELECT value, typeof(value) FROM Usage WHERE key = 'GameFolder'");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], values.back());
  EXPECT_EQ(rows[0][1], "text");
}

TEST_F(SQLConfigFileTest, WritingAKeyAgainLeavesOneRowWithTheNewValue) {
  TSQLConfigFile settings(DbPath());
  settings.WriteString("Usage", "GameFolder", "C:\\One");
  settings.WriteString("Usage", "GameFolder", "C:\\Two");
  EXPECT_EQ(RawDatabase(DbPath()).Rows("SELECT key, value FROM Usage"),
            (std::vector<std::vector<std::string>>{{"GameFolder", "C:\\Two"}}));
}

TEST_F(SQLConfigFileTest, BooleansAreStoredAsLowerCaseWords) {
  TSQLConfigFile settings(DbPath());
  settings.WriteBool("Usage", "AllCores", true);
  EXPECT_EQ(settings.ReadString("Usage", "AllCores"), "true");
  EXPECT_TRUE(settings.ReadBool("Usage", "AllCores", false));
  settings.WriteBool("Usage", "AllCores", false);
  EXPECT_EQ(settings.ReadString("Usage", "AllCores"), "false");
  EXPECT_FALSE(settings.ReadBool("Usage", "AllCores", true));
}

TEST_F(SQLConfigFileTest, OnlyExactTrueAndFalseAreBooleans) {
  TSQLConfigFile settings(DbPath());
  for (const char* text : {"True", "TRUE", "1", "yes", "", " true", "false "}) {
    settings.WriteString("Usage", "ToJPEG", text);
    EXPECT_TRUE(settings.ReadBool("Usage", "ToJPEG", true)) << '"' << text << '"';
    EXPECT_FALSE(settings.ReadBool("Usage", "ToJPEG", false)) << '"' << text << '"';
  }
}

TEST_F(SQLConfigFileTest, KeysAreCaseSensitive) {
  TSQLConfigFile settings(DbPath());
  settings.WriteString("Usage", "GameFolder", "C:\\Game");
  EXPECT_EQ(settings.ReadString("Usage", "gamefolder"), "");
  EXPECT_TRUE(settings.ReadBool("Usage", "GAMEFOLDER", true));
}

TEST_F(SQLConfigFileTest, ReadsWhatTheSplicedStatementsOfTheFileFormatWrote) {
  {
    RawDatabase raw(DbPath());
    raw.Execute("CREATE TABLE IF NOT EXISTS `Usage`( `key` TEXT(100) NOT NULL, `value` TEXT(1024) "
                "NOT NULL, PRIMARY KEY (\"key\" ASC), UNIQUE (\"key\" ASC) ON CONFLICT REPLACE );");
    raw.Execute("INSERT INTO `Usage` (`key`,`value`) VALUES (\"GameFolder\",\"D:\\Q \"\"x\"\"\")");
    raw.Execute("INSERT INTO `Usage` (`key`,`value`) VALUES (\"StoreScreenshots\",\"false\")");
  }
  TSQLConfigFile settings(DbPath());
  EXPECT_EQ(settings.ReadString("Usage", "GameFolder"), "D:\\Q \"x\"");
  EXPECT_FALSE(settings.ReadBool("Usage", "StoreScreenshots", true));
}

TEST_F(SQLConfigFileTest, PathInAMissingFolderCannotBeOpened) {
  const std::string path = temp.Posix() + "/missing/brisklet.db";
  try {
    TSQLConfigFile settings(path);
    FAIL() << "opened";
  } catch (const ESQLConfigOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "File \"" + path + "\" not found or not an sqlite database.");
  }
}

TEST_F(SQLConfigFileTest, MessageNamesTheProgramsPathNotTheLibrarysPath) {
  try {
    TSQLConfigFile settings("C:\\Program\\brisklet.db", temp.Posix() + "/none/brisklet.db");
    FAIL() << "opened";
  } catch (const ESQLConfigOpenError& e) {
    EXPECT_EQ(std::string(e.what()),
              "File \"C:\\Program\\brisklet.db\" not found or not an sqlite database.");
  }
}

TEST_F(SQLConfigFileTest, AFileThatIsNoDatabaseOpensButEveryStatementFails) {
  temp.Write("brisklet.db", std::string(4096, 'x'));
  TSQLConfigFile settings(DbPath());
  EXPECT_THROW(
      {
        try {
          settings.ReadString("Usage", "GameFolder");
        } catch (const ESQLConfigError& e) {
          EXPECT_THAT(e.what(), HasSubstr("not a database"));
          throw;
        }
      },
      ESQLConfigError);
  EXPECT_THROW(settings.WriteBool("Usage", "ToJPEG", true), ESQLConfigError);
  EXPECT_EQ(temp.Read("brisklet.db"), std::string(4096, 'x')) << "the foreign file is not touched";
}

TEST_F(SQLConfigFileTest, ALockedDatabaseFailsAtOnceWithTheEnginesMessage) {
  TSQLConfigFile settings(DbPath());
  settings.WriteString("Usage", "GameFolder", "C:\\Game");
  RawDatabase other(DbPath());
  other.Execute("BEGIN EXCLUSIVE");

  const auto start = std::chrono::steady_clock::now();
  try {
    settings.WriteString("Usage", "GameFolder", "C:\\Other");
    FAIL() << "wrote through an exclusive lock";
  } catch (const ESQLConfigError& e) {
    EXPECT_THAT(e.what(), HasSubstr("locked"));
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << "no busy wait";
  other.Execute("ROLLBACK");
  EXPECT_EQ(settings.ReadString("Usage", "GameFolder"), "C:\\Game");
}

}  // namespace
}  // namespace qvn
