#pragma once
// Start-up, the same for every shell: the program's arguments and what they ask for, its help and
// its exit statuses, and the folder that holds the local files. The system's part (the arguments
// as the system passed them, the program's folder, whether a folder can be written, the user's
// data folder) is one file per system, start_up_posix.cpp beside start_up_windows.cpp.
//
//   korvane-settei [--data-dir DIR] [--port-dir DIR]                 the window
//   korvane-settei --screenshot PNG | --read-and-screenshot PNG       a picture of it, and quit
//   korvane-settei --control-rects FILE          each control's rectangle in pixels, and quit
//   korvane-settei --backup|--compare|--restore FILE [--port PORT|auto] [--show-secrets]
//                  [--accept-mechanics]          (--restore: the steps may change)
//   korvane-settei --find                        which port the controller is on
//   korvane-settei --journal [N] [--show-secrets]  the journal's last N entries

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

inline constexpr const char* kProgramName = "korvane-settei";
inline constexpr int kExitDone = 0, kExitDiffers = 1, kExitTrouble = 2;

enum class BackupMode { Backup, Compare, Restore };

struct Arguments {
  bool help = false;
  bool version = false;                                         // --version
  std::optional<std::filesystem::path> dataFolder, portFolder;  // --data-dir, --port-dir
  std::optional<std::filesystem::path> screenshot;              // --screenshot
  std::optional<std::filesystem::path> readAndScreenshot;       // --read-and-screenshot
  std::optional<std::filesystem::path> controlRects;            // --control-rects
  std::optional<BackupMode> mode;                               // --backup, --compare, --restore
  std::filesystem::path file;                                   // the mode's FILE
  std::string port;  // --port: "COMn", a device path, or empty for the port "siri.DAT" names
  bool showSecrets = false;
  bool acceptMechanics = false;       // --restore may change the mount's steps
  bool find = false;                  // --find
  std::optional<int> journalEntries;  // --journal [N]
  // Set when the arguments cannot run: what to print on standard error, ending in a newline;
  // the program then ends with kExitTrouble and does nothing else.
  std::string error;
};

// The largest N of --journal N.
inline constexpr int kMostJournalEntries = 999999;

// Whether a path is a folder that exists (isFolder below asks the file system).
using IsFolder = std::function<bool(const std::filesystem::path&)>;
bool FolderOnDisk(const std::filesystem::path& path);

enum class System { Posix, Windows };
#ifdef _WIN32
inline constexpr System kThisSystem = System::Windows;
#else
inline constexpr System kThisSystem = System::Posix;
#endif

// The arguments after the program's name, in UTF-8. "--name value" and "--name=value" both give a
// value; "-h", "-?", "/?" and "--help" ask for the help; "--" ends the options. A --data-dir or
// --port-dir that isFolder does not take is refused: a mistyped folder would otherwise give an
// empty port list or a second set of local files. Windows names its COM ports itself: there is no
// folder of COMn links, and --port-dir is refused there rather than ignored.
Arguments ParseArguments(const std::vector<std::string>& arguments,
                         const IsFolder& isFolder = FolderOnDisk, System system = kThisSystem);

// The programs: on Linux one does everything; on Windows korvane-settei.exe only opens the window
// (it has no console to print to), and korvane-settei-cli.exe only runs what needs none.
enum class Program { Both, Window, Console };
enum class StartUp {
  Trouble,  // Arguments::error on standard error (the console program adds the help)
  Help,     // the help on standard output
  Usage,    // the console program with nothing it runs: the help on standard error
  Version,
  Journal,      // --journal
  Find,         // --find
  Backup,       // --backup, --compare, --restore
  Window,       // the window, or a picture of it
  ConsoleOnly,  // a mode without a window asked of the window program: a box names the other
};
StartUp ChooseStartUp(const Arguments& args, Program program);
inline constexpr const char* kConsoleOnlyText =
    "バックアップ・比較・復元、ポートの検索（--find）と変更履歴の表示（--journal）は、"
    "コマンド プロンプトか PowerShell で korvane-settei-cli.exe から実行してください。\n"
    "例: korvane-settei-cli.exe --backup settings.ini --port COM5";

// The help, the program named as it was run (`program`, ProgramName), saying what that system has.
std::string HelpText(std::string_view program, System system = kThisSystem);
// The file name of the program's path as it was run (argv[0]: "korvane-settei-cli.exe",
// "korvane-settei"); kProgramName when there is none.
std::string InvokedName(std::string_view argv0);
// InvokedName of this run's argv[0] (on Windows from the wide command line).
std::string ProgramName(int argc, char** argv);
// "korvane-settei 4.1 (commit 1a2b3c4)": the name, the version, the commit built from.
std::string VersionText();

// One line per control of the window's table that the shell shows: "name x y width height" in
// pixels of the client area, so that two shells' windows can be laid over each other.
std::string ControlRectLine(std::string_view name, int x, int y, int width, int height);

// How a picture run ends: done once the picture is saved and, for --read-and-screenshot, the read
// ran on an open port without a word to the operator; else kExitTrouble (the picture is saved all
// the same, its status saying why the read could not run).
inline int PictureRunStatus(bool saved, bool readFirst, bool portOpen, int messages) {
  const bool read = !readFirst || (portOpen && messages == 0);
  return saved && read ? kExitDone : kExitTrouble;
}

// The arguments after the program's name as the system passed them, in UTF-8 (on Windows from
// the wide command line, so that a Japanese path survives any code page).
std::vector<std::string> ProgramArguments(int argc, char** argv);

std::filesystem::path PathFromUtf8(const std::string& text);

// The folder of "siri.DAT", "SetData.txt" and the COMn links a user makes: beside the program, or
// for an installed copy, or one whose folder cannot be written, the user's data folder (made if
// missing). ChooseLocalFilesPlace says how an installed copy is told from a build folder.
std::filesystem::path LocalFilesFolder();

// The system's part.
std::filesystem::path ProgramFolder();
bool FolderWritable(const std::filesystem::path& folder);
std::filesystem::path UserDataFolder();  // of this program; not made

}  // namespace korvane
