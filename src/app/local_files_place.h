#pragma once
// Where "siri.DAT" and "SetData.txt" live: beside the program, as the tool has always kept them,
// or in the user's data folder for an installed copy.

#include <filesystem>

#include "app/port_names.h"

namespace korvane {

enum class LocalFilesPlace { kBesideProgram, kUserDataFolder };

// The installed copy ships this desktop entry in <prefix>/share/applications beside
// <prefix>/bin (packaging/korvane-settei.desktop).
inline constexpr const char* kDesktopEntryName = "korvane-settei.desktop";

// Whether the folder can be written says little: root can write /usr/bin, and a copy installed
// there must still keep one user's port and preset out of a system folder. So an installed copy
// is recognised by what the install put around it: the program sits in <prefix>/bin and its
// desktop entry in <prefix>/share/applications, wherever the prefix is (/usr, /usr/local, /opt/x,
// ~/.local, a scratch root). A build folder, which holds CMake's CMakeCache.txt beside the
// program, is never an installed copy. Every other copy (a build folder, a folder carried
// around) keeps its files beside itself when it can write there, and in the user's data folder
// when it cannot.
LocalFilesPlace ChooseLocalFilesPlace(const std::filesystem::path& programFolder,
                                      const PathExists& exists, bool programFolderWritable);

}  // namespace korvane
