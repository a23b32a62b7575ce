#pragma once
// Independent readers of the archives the tests write: Python's zipfile (names, order and
// every entry's bytes against its source), Debian's unzip and 7-Zip's test commands.

#include <string>
#include <vector>

namespace qvn::testing {

struct ExpectedEntry {
  std::string name;    // UTF-8, as a reader shows it
  std::string source;  // the POSIX path of the file whose bytes the entry holds; empty: folder
};

// Each reader's verdict: empty when the reader accepts the archive, otherwise its output.
std::string PythonReaderVerdict(const std::string& archive, const std::vector<ExpectedEntry>& entries);
std::string UnzipVerdict(const std::string& archive);
std::string SevenZipVerdict(const std::string& archive);

// All three (unzip refuses an archive without entries, so it is left out for those).
// Records a test failure for each reader that refuses the archive.
void ExpectReadersAccept(const std::string& archive, const std::vector<ExpectedEntry>& entries);

// Python's zlib, given the same parameters, must produce exactly entry index's raw data.
std::string DeflateVerdict(const std::string& archive, int index, const std::string& source,
                           int chunk, int level);

}  // namespace qvn::testing
