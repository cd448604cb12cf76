// Where an installed copy, a build folder and a carried-around copy keep their local files.

#include "app/local_files_place.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace korvane {
namespace {

struct PlaceCase {
  const char* name;
  std::string programFolder;
  std::vector<std::string> existing;  // every other path is absent
  bool writable;
  LocalFilesPlace place;
};

class LocalFilesPlaceTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(LocalFilesPlaceTest, ChoosesByWhatSurroundsTheProgram) {
  const PlaceCase& c = GetParam();
  const std::set<std::filesystem::path> existing(c.existing.begin(), c.existing.end());
  const PathExists exists = [&](const std::filesystem::path& p) { return existing.count(p) > 0; };
  EXPECT_EQ(ChooseLocalFilesPlace(c.programFolder, exists, c.writable), c.place);
}

constexpr auto kBeside = LocalFilesPlace::kBesideProgram;
constexpr auto kUser = LocalFilesPlace::kUserDataFolder;

INSTANTIATE_TEST_SUITE_P(
    Cases, LocalFilesPlaceTest,
    ::testing::Values(
        // Installed: the desktop entry in <prefix>/share/applications, writable or not.
        PlaceCase{"PackageRunByRoot",
                  "/usr/bin",
                  {"/usr/share/applications/korvane-settei.desktop"},
                  true,
                  kUser},
        PlaceCase{"PackageRunByUser",
                  "/usr/bin",
                  {"/usr/share/applications/korvane-settei.desktop"},
                  false,
                  kUser},
        PlaceCase{"LocalPrefix",
                  "/usr/local/bin",
                  {"/usr/local/share/applications/korvane-settei.desktop"},
                  true,
                  kUser},
        PlaceCase{"HomePrefix",
                  "/home/u/.local/bin",
                  {"/home/u/.local/share/applications/korvane-settei.desktop"},
                  true,
                  kUser},
        PlaceCase{"ScratchRoot",
                  "/tmp/root/usr/bin",
                  {"/tmp/root/usr/share/applications/korvane-settei.desktop"},
                  true,
                  kUser},
        // Another program's entry, or one in the wrong place, does not make an installed copy.
        PlaceCase{
            "OtherEntry", "/usr/bin", {"/usr/share/applications/other.desktop"}, true, kBeside},
        PlaceCase{"EntryBesideProgram",
                  "/opt/k",
                  {"/opt/k/share/applications/korvane-settei.desktop"},
                  true,
                  kBeside},
        PlaceCase{"EntryOneLevelTooHigh",
                  "/opt/k/bin",
                  {"/opt/share/applications/korvane-settei.desktop"},
                  true,
                  kBeside},
        // A build folder keeps them beside the program, even inside an install prefix.
        PlaceCase{
            "BuildFolder", "/work/main/build", {"/work/main/build/CMakeCache.txt"}, true, kBeside},
        PlaceCase{"BuildFolderInPrefix",
                  "/usr/local/bin",
                  {"/usr/local/bin/CMakeCache.txt",
                   "/usr/local/share/applications/korvane-settei.desktop"},
                  true,
                  kBeside},
        PlaceCase{
            "ReadOnlyBuildFolder", "/mnt/ro/build", {"/mnt/ro/build/CMakeCache.txt"}, false, kUser},
        // A copy carried around: beside itself where it can write.
        PlaceCase{"CarriedCopy", "/media/stick/korvane", {}, true, kBeside},
        PlaceCase{"CarriedCopyInHomeBin", "/home/u/bin", {}, true, kBeside},
        PlaceCase{"ReadOnlyCopy", "/media/cdrom", {}, false, kUser}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvane
