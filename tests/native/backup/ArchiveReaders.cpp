#include "ArchiveReaders.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>

namespace qvn::testing {

namespace {

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs a shell command; empty when it exits with 0, else its output and exit status.
std::string Verdict(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return "cannot run " + command;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = ::pclose(pipe);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {};
  return command + " failed (" + std::to_string(status) + "):\n" + output;
}

}  // namespace

std::string PythonReaderVerdict(const std::string& archive, const std::vector<ExpectedEntry>& entries) {
  const std::string manifest = archive + ".manifest";
  {
    std::ofstream out(manifest, std::ios::binary | std::ios::trunc);
    for (const auto& e : entries) out << e.name << '\t' << e.source << '\n';
  }
  const std::string verdict = Verdict("python3 " + Quote(QVN_CHECK_ZIP_SCRIPT) + " entries " +
                                      Quote(archive) + " " + Quote(manifest));
  std::remove(manifest.c_str());
  return verdict;
}

std::string UnzipVerdict(const std::string& archive) { return Verdict("unzip -tq " + Quote(archive)); }

std::string SevenZipVerdict(const std::string& archive) { return Verdict("7zz t -bd " + Quote(archive)); }

void ExpectReadersAccept(const std::string& archive, const std::vector<ExpectedEntry>& entries) {
  EXPECT_EQ(PythonReaderVerdict(archive, entries), "");
  if (!entries.empty()) {
    EXPECT_EQ(UnzipVerdict(archive), "");
  }
  EXPECT_EQ(SevenZipVerdict(archive), "");
}

std::string DeflateVerdict(const std::string& archive, int index, const std::string& source,
                           int chunk, int level) {
  return Verdict("python3 " + Quote(QVN_CHECK_ZIP_SCRIPT) + " deflate " + Quote(archive) + " " +
                 std::to_string(index) + " " + Quote(source) + " " + std::to_string(chunk) + " " +
                 std::to_string(level));
}

}  // namespace qvn::testing
