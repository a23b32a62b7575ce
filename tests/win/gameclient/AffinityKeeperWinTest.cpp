#include "gameclient/AffinityKeeper.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/WinApi.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ProcessService.h"
#include "platform/win32/Win32Text.h"
#include "settings/SQLConfFiles.h"
#include "tests/win/support/ChildProcess.h"
#include "tests/win/support/TestFolder.h"

namespace qvn {
namespace {

std::uint64_t MaskOf(HANDLE process) {
  DWORD_PTR processMask = 0;
  DWORD_PTR systemMask = 0;
  if (!GetProcessAffinityMask(process, &processMask, &systemMask)) return 0;
  return processMask;
}

// Processors 0 to 3, or as many of them as the machine has.
std::uint64_t ExpectedTarget() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  const DWORD processors = std::min<DWORD>(info.dwNumberOfProcessors, 4);
  return (std::uint64_t{1} << processors) - 1;
}

class AffinityKeeperWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    game_ = std::make_unique<testing::ChildProcess>("Client.exe", title_);
    window_ = testing::ChildProcess::WaitForWindow(title_, 20000);
    ASSERT_NE(window_, nullptr) << "the stand-in game did not come up";
  }

  // Closes the game's window, waits until it has ended and lets go of its handle, so that
  // nothing keeps the ended process known to the system.
  void EndGame() {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(game_->WaitForExit(20000));
    game_.reset();
  }

  const std::string title_ = "qvn game " + std::to_string(GetCurrentProcessId());
  testing::TestFolder folder{"keeper"};
  platform::win32::Win32FileSystem files;
  platform::win32::Win32Text text;
  platform::win32::Win32ProcessService processes;
  TSQLConfigFile settings{text.WideToAnsi(folder / u"brisklet.db"),
                          files.LibraryPath(folder / u"brisklet.db")};
  std::unique_ptr<testing::ChildProcess> game_;
  HWND window_ = nullptr;
};

TEST_F(AffinityKeeperWinTest, OneTickGivesTheGameItsProcessors) {
  ASSERT_TRUE(SetProcessAffinityMask(game_->Process(), 1));
  ASSERT_EQ(MaskOf(game_->Process()), 1u);

  settings.WriteBool("Usage", "AllCores", false);
  gameclient::AffinityTick(settings, true, processes, text);
  EXPECT_EQ(MaskOf(game_->Process()), 1u) << "the switch is off";

  settings.WriteBool("Usage", "AllCores", true);
  gameclient::AffinityTick(settings, false, processes, text);
  EXPECT_EQ(MaskOf(game_->Process()), 1u) << "the check box is disabled";

  gameclient::AffinityTick(settings, true, processes, text);
  EXPECT_EQ(MaskOf(game_->Process()), ExpectedTarget());
}

TEST_F(AffinityKeeperWinTest, FindProcessIdFindsTheGameUntilItEnds) {
  const std::int64_t id = game_->Id();
  EXPECT_EQ(processes.Family(), platform::PlatformFamily::WindowsNT);
  EXPECT_EQ(gameclient::FindProcessId(processes, text, "Client.exe"), id);
  EXPECT_EQ(gameclient::FindProcessId(processes, text, "C:\\Program Files\\Quorvane\\CLIENT.EXE"),
            id);
  EXPECT_EQ(gameclient::FindProcessId(processes, text, "Client"), -1);

  EndGame();
  EXPECT_EQ(gameclient::FindProcessId(processes, text, "Client.exe"), -1);
}

TEST_F(AffinityKeeperWinTest, TheSnapshotListsProcessesByImageName) {
  auto snapshot = processes.CreateSnapshot(15);
  ASSERT_NE(snapshot, nullptr);
  bool sawSelf = false;
  bool sawGame = false;
  int entries = 0;
  platform::ProcessEntry entry;
  for (bool more = snapshot->First(entry); more; more = snapshot->Next(entry), ++entries) {
    if (entry.processId == GetCurrentProcessId()) {
      sawSelf = true;
      EXPECT_EQ(entry.exeFile, "win_gameclient_tests.exe");
    }
    if (entry.processId == game_->Id()) {
      sawGame = true;
      EXPECT_EQ(entry.exeFile, "Client.exe");
    }
  }
  EXPECT_TRUE(sawSelf);
  EXPECT_TRUE(sawGame);
  EXPECT_GT(entries, 2);
  EXPECT_FALSE(snapshot->Next(entry));
}

TEST_F(AffinityKeeperWinTest, ProcessHandlesReadAndSetMasks) {
  auto process = processes.Open(game_->Id(), PROCESS_QUERY_INFORMATION | PROCESS_SET_INFORMATION);
  ASSERT_NE(process, nullptr);
  std::uint64_t processMask = 0;
  std::uint64_t systemMask = 0;
  ASSERT_TRUE(process->GetAffinityMask(processMask, systemMask));
  EXPECT_NE(systemMask, 0u);
  EXPECT_EQ(processMask & ~systemMask, 0u);
  EXPECT_TRUE(process->SetAffinityMask(1));
  EXPECT_EQ(MaskOf(game_->Process()), 1u);
  EXPECT_FALSE(process->SetAffinityMask(0));
  // A processor the machine lacks is refused: why the keeper never asks for more than the
  // system mask allows.
  const std::uint64_t missingProcessor = systemMask + 1;  // the bit above the highest processor
  if (missingProcessor != 0) {
    EXPECT_FALSE(process->SetAffinityMask(missingProcessor | 1));
    EXPECT_EQ(MaskOf(game_->Process()), 1u);
  }

  // A handle without the right to read the mask fails quietly.
  auto weak = processes.Open(game_->Id(), SYNCHRONIZE);
  ASSERT_NE(weak, nullptr);
  EXPECT_FALSE(weak->GetAffinityMask(processMask, systemMask));

  EXPECT_EQ(processes.Open(0, PROCESS_QUERY_INFORMATION), nullptr);  // the idle process
}

}  // namespace
}  // namespace qvn
