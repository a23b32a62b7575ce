#include "gameclient/AffinityKeeper.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "platform/posix/PosixText.h"
#include "settings/SQLConfFiles.h"
#include "tests/fakes/FakeProcessService.h"
#include "tests/fakes/TempFolder.h"

namespace qvn {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::FakeProcess;
using testing::FakeProcessService;

constexpr std::uint32_t AllToolHelpLists = 15;
constexpr std::uint32_t AllAccessBeforeVista = 0x1F0FFF;

// A settings database in a fresh folder, with "AllCores" stored as given (or not at all).
class KeeperFixture {
 public:
  explicit KeeperFixture(std::optional<bool> allCores) {
    if (allCores) settings.WriteBool("Usage", "AllCores", *allCores);
  }
  testing::TempFolder folder;
  TSQLConfigFile settings{folder.Files().LibraryPath(u"C:\\brisklet.db")};
  platform::posix::PosixText text;
};

struct TickCase {
  const char* name;
  std::optional<bool> allCores;  // what the settings hold; nothing: no row
  bool switchEnabled;
  std::vector<FakeProcess> processes;
  bool snapshotFails;
  // Expected:
  int snapshots;
  std::vector<std::uint32_t> opened;
  int reads;
  std::vector<std::uint64_t> masksSet;
  std::vector<std::uint64_t> finalMasks;  // of processes, in order
};

// Failure output names the case instead of dumping its bytes.
void PrintTo(const TickCase& c, std::ostream* os) { *os << c.name; }

FakeProcess Process(std::uint32_t id, const char* image, std::uint64_t mask,
                    std::uint64_t systemMask = 0xFF) {
  FakeProcess p;
  p.id = id;
  p.imageName = image;
  p.processMask = mask;
  p.systemMask = systemMask;
  return p;
}

FakeProcess Failing(FakeProcess p, bool open, bool read, bool set) {
  p.openFails = open;
  p.readFails = read;
  p.setFails = set;
  return p;
}

const TickCase TickCases[] = {
    {"SwitchOffTakesNoSnapshot", false, true, {Process(7, "Client.exe", 1)}, false,
     0, {}, 0, {}, {1}},
    {"SwitchNeverStoredIsOff", std::nullopt, true, {Process(7, "Client.exe", 1)}, false,
     0, {}, 0, {}, {1}},
    {"DisabledBoxDoesNothing", true, false, {Process(7, "Client.exe", 1)}, false,
     0, {}, 0, {}, {1}},
    {"NoGameProcess", true, true, {Process(4, "System", 1), Process(9, "explorer.exe", 1)}, false,
     1, {}, 0, {}, {1, 1}},
    {"SnapshotFails", true, true, {Process(7, "Client.exe", 1)}, true,
     1, {}, 0, {}, {1}},
    {"UpperCaseImageNameMatches", true, true, {Process(7, "CLIENT.EXE", 1)}, false,
     1, {7}, 1, {15}, {15}},
    {"LongerImageNamesDoNotMatch", true, true,
     {Process(3, "MyClient.exe", 1), Process(5, "Client.exe2", 1), Process(6, "Client.exe.bak", 1),
      Process(8, "C:\\Game\\Client.exe", 1)},
     false, 1, {}, 0, {}, {1, 1, 1, 1}},
    {"OnlyTheFirstOfTwoIsTouched", true, true,
     {Process(10, "notepad.exe", 1), Process(11, "client.exe", 1), Process(12, "Client.exe", 1)},
     false, 1, {11}, 1, {15}, {1, 15, 1}},
    {"MaskAlreadyRightIsReadNotSet", true, true, {Process(7, "Client.exe", 15)}, false,
     1, {7}, 1, {}, {15}},
    {"SingleProcessorMaskWidened", true, true, {Process(7, "Client.exe", 1)}, false,
     1, {7}, 1, {15}, {15}},
    {"EightProcessorsNarrowedToFour", true, true, {Process(7, "Client.exe", 255)}, false,
     1, {7}, 1, {15}, {15}},
    {"TwoProcessorsGetBoth", true, true, {Process(7, "Client.exe", 1, 3)}, false,
     1, {7}, 1, {3}, {3}},
    {"TwoProcessorsAlreadyBoth", true, true, {Process(7, "Client.exe", 3, 3)}, false,
     1, {7}, 1, {}, {3}},
    {"OneProcessorNothingToWiden", true, true, {Process(7, "Client.exe", 1, 1)}, false,
     1, {7}, 1, {}, {1}},
    {"OpenFailsQuietly", true, true, {Failing(Process(7, "Client.exe", 1), true, false, false)},
     false, 1, {7}, 0, {}, {1}},
    {"ReadFailsQuietly", true, true, {Failing(Process(7, "Client.exe", 1), false, true, false)},
     false, 1, {7}, 1, {}, {1}},
    {"SetFailsQuietly", true, true, {Failing(Process(7, "Client.exe", 1), false, false, true)},
     false, 1, {7}, 1, {15}, {1}},
};

class AffinityTickTest : public ::testing::TestWithParam<TickCase> {};

TEST_P(AffinityTickTest, OneTick) {
  const TickCase& c = GetParam();
  KeeperFixture fixture(c.allCores);
  FakeProcessService processes;
  processes.processes = c.processes;
  processes.snapshotFails = c.snapshotFails;

  EXPECT_NO_THROW(gameclient::AffinityTick(fixture.settings, c.switchEnabled, processes,
                                           fixture.text));

  EXPECT_EQ(processes.snapshots, c.snapshots);
  for (std::uint32_t flags : processes.snapshotFlags) EXPECT_EQ(flags, AllToolHelpLists);
  EXPECT_THAT(processes.openedIds, ElementsAreArray(c.opened));
  for (std::uint32_t access : processes.openAccess) EXPECT_EQ(access, AllAccessBeforeVista);
  EXPECT_EQ(processes.reads, c.reads);
  EXPECT_THAT(processes.masksSet, ElementsAreArray(c.masksSet));
  std::vector<std::uint64_t> masks;
  for (const FakeProcess& p : processes.processes) masks.push_back(p.processMask);
  EXPECT_THAT(masks, ElementsAreArray(c.finalMasks));
  // Whatever happened, nothing is left open.
  EXPECT_EQ(processes.liveSnapshots, 0);
  EXPECT_EQ(processes.liveHandles, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, AffinityTickTest, ::testing::ValuesIn(TickCases),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(AffinityTickSettings, TheSwitchIsReadAfreshEveryTick) {
  KeeperFixture fixture(true);
  FakeProcessService processes;
  processes.processes = {Process(7, "Client.exe", 1)};

  gameclient::AffinityTick(fixture.settings, true, processes, fixture.text);
  processes.processes[0].processMask = 1;  // the game was restarted on one processor
  fixture.settings.WriteBool("Usage", "AllCores", false);
  gameclient::AffinityTick(fixture.settings, true, processes, fixture.text);

  EXPECT_EQ(processes.snapshots, 1);
  EXPECT_THAT(processes.masksSet, ElementsAre(15u));
  EXPECT_EQ(processes.processes[0].processMask, 1u);
}

TEST(AffinityTickSettings, ASettingsFailurePropagatesBeforeAnyLookUp) {
  testing::TempFolder folder;
  folder.Write("brisklet.db", std::string(4096, 'x'));  // not a database
  TSQLConfigFile settings(folder.Files().LibraryPath(u"C:\\brisklet.db"));
  platform::posix::PosixText text;
  FakeProcessService processes;
  processes.processes = {Process(7, "Client.exe", 1)};

  EXPECT_THROW(gameclient::AffinityTick(settings, true, processes, text), ESQLConfigError);
  EXPECT_EQ(processes.snapshots, 0);
}

struct LookUpCase {
  const char* name;
  platform::PlatformFamily family;
  const char* given;
  std::vector<FakeProcess> processes;
  std::int64_t expected;
};

void PrintTo(const LookUpCase& c, std::ostream* os) { *os << c.name; }

const LookUpCase LookUpCases[] = {
    {"NtComparesTheFileNamePartOfAFullPath", platform::PlatformFamily::WindowsNT,
     "C:\\Games\\Quorvane\\Client.exe", {Process(4, "System", 0), Process(42, "client.EXE", 0)}, 42},
    {"NtCutsAfterADriveColon", platform::PlatformFamily::WindowsNT, "D:Client.exe",
     {Process(42, "Client.exe", 0)}, 42},
    {"NtDoesNotCutAtASlash", platform::PlatformFamily::WindowsNT, "Games/Client.exe",
     {Process(42, "Client.exe", 0)}, -1},
    {"NtEntryNamesAreNotCut", platform::PlatformFamily::WindowsNT, "Client.exe",
     {Process(42, "C:\\Games\\Client.exe", 0)}, -1},
    {"NineXComparesTheWholeName", platform::PlatformFamily::Windows9x, "C:\\Games\\Client.exe",
     {Process(42, "Client.exe", 0)}, -1},
    {"NineXWholePathsMatchInAnyCase", platform::PlatformFamily::Windows9x,
     "c:\\games\\client.exe", {Process(42, "C:\\GAMES\\CLIENT.EXE", 0)}, 42},
    {"CyrillicLettersAreUpperCased", platform::PlatformFamily::WindowsNT, "Кворвейн.exe",
     {Process(42, "КВОРВЕЙН.EXE", 0)}, 42},
    {"FirstInSnapshotOrderWins", platform::PlatformFamily::WindowsNT, "Client.exe",
     {Process(90, "Client.exe", 0), Process(12, "Client.exe", 0)}, 90},
    {"EmptySnapshot", platform::PlatformFamily::WindowsNT, "Client.exe", {}, -1},
};

class FindProcessIdTest : public ::testing::TestWithParam<LookUpCase> {};

TEST_P(FindProcessIdTest, LooksUp) {
  const LookUpCase& c = GetParam();
  platform::posix::PosixText text;
  FakeProcessService processes;
  processes.family = c.family;
  processes.processes = c.processes;

  EXPECT_EQ(gameclient::FindProcessId(processes, text, c.given), c.expected);
  EXPECT_EQ(processes.snapshots, 1);
  EXPECT_THAT(processes.snapshotFlags, ElementsAre(AllToolHelpLists));
  EXPECT_EQ(processes.liveSnapshots, 0);
  EXPECT_EQ(processes.opens, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, FindProcessIdTest, ::testing::ValuesIn(LookUpCases),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(FindProcessId, AFailedSnapshotFindsNothing) {
  platform::posix::PosixText text;
  FakeProcessService processes;
  processes.processes = {Process(42, "Client.exe", 0)};
  processes.snapshotFails = true;
  EXPECT_EQ(gameclient::FindProcessId(processes, text, "Client.exe"), -1);
}

}  // namespace
}  // namespace qvn
