#include "app/local_files_place.h"

namespace korvane {

LocalFilesPlace ChooseLocalFilesPlace(const std::filesystem::path& programFolder,
                                      const PathExists& exists, bool programFolderWritable) {
  const bool buildFolder = exists(programFolder / "CMakeCache.txt");
  const bool installed = !buildFolder && exists(programFolder.parent_path() / "share" /
                                                "applications" / kDesktopEntryName);
  if (installed || !programFolderWritable) return LocalFilesPlace::kUserDataFolder;
  return LocalFilesPlace::kBesideProgram;
}

}  // namespace korvane
