#include "app/start_up.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/local_files_place.h"
#include "app/port_names.h"

namespace korvane {

namespace {

enum class Option {
  Help,
  Version,
  DataDir,
  PortDir,
  Screenshot,
  ReadAndScreenshot,
  ControlRects,
  Backup,
  Compare,
  Restore,
  Port,
  ShowSecrets,
  Find,
  Journal,
  AcceptMechanics
};
constexpr std::size_t kOptionKinds = std::size_t(Option::AcceptMechanics) + 1;
struct OptionName {
  std::string_view name;
  Option option;
  bool takesValue;
};
constexpr std::array<OptionName, 16> kOptions{
    {{"help", Option::Help, false},
     {"help-all", Option::Help, false},
     {"version", Option::Version, false},
     {"data-dir", Option::DataDir, true},
     {"port-dir", Option::PortDir, true},
     {"screenshot", Option::Screenshot, true},
     {"read-and-screenshot", Option::ReadAndScreenshot, true},
     {"control-rects", Option::ControlRects, true},
     {"backup", Option::Backup, true},
     {"compare", Option::Compare, true},
     {"restore", Option::Restore, true},
     {"port", Option::Port, true},
     {"show-secrets", Option::ShowSecrets, false},
     {"find", Option::Find, false},
     {"journal", Option::Journal, false},
     {"accept-mechanics", Option::AcceptMechanics, false}}};

std::string fail(std::string_view what, bool withUsage = false) {
  std::string out = std::string(kProgramName) + ": " + std::string(what) + "\n";
  if (withUsage) {
    out += std::string("usage: ") + kProgramName +
           " --backup|--compare|--restore FILE [--port PORT] [--show-secrets]\n";
  }
  return out;
}

// "5", "-5": a number as --journal may be given one (a negative one is refused with its reason).
bool looksLikeNumber(std::string_view text) {
  if (text.starts_with('-')) text.remove_prefix(1);
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// What is wrong with --journal's number, or nothing.
std::string journalNumberTrouble(std::string_view n) {
  std::string_view digits = n.starts_with('-') ? n.substr(1) : n;
  if (!looksLikeNumber(n)) return "is not a number";
  digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
  if (digits.empty()) return {};  // 0, however written
  if (n.starts_with('-')) return "is negative";
  static_assert(kMostJournalEntries == 999999);  // every number of up to six digits
  if (digits.size() > 6) return "is too large";
  return {};
}

}  // namespace

bool FolderOnDisk(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

std::filesystem::path PathFromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

Arguments ParseArguments(const std::vector<std::string>& arguments, const IsFolder& isFolder,
                         System system) {
  Arguments out;
  std::vector<std::string> positional;
  std::array<std::optional<std::string>, kOptionKinds>
      values;  // by Option; the last one given counts
  std::array<bool, kOptionKinds> given{};
  bool optionsEnd = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    if (!optionsEnd && arg == "/?") {  // as cmd.exe's own commands ask for their help
      given[int(Option::Help)] = true;
      continue;
    }
    if (optionsEnd || arg.size() < 2 || arg[0] != '-') {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnd = true;
      continue;
    }
    if (arg[1] != '-') {  // short options, run together: only -h and -? exist
      std::string unknown;
      int count = 0;
      for (const char c : std::string_view(arg).substr(1)) {
        if (c == 'h' || c == '?') {
          given[int(Option::Help)] = true;
        } else {
          unknown += (count++ ? ", " : "") + std::string(1, c);
        }
      }
      if (count == 1) return out.error = fail("Unknown option '" + unknown + "'."), out;
      if (count > 1) return out.error = fail("Unknown options: " + unknown + "."), out;
      continue;
    }
    const std::string_view body = std::string_view(arg).substr(2);
    const std::size_t equals = body.find('=');
    const std::string_view name = body.substr(0, equals);
    const auto known = std::ranges::find(kOptions, name, &OptionName::name);
    if (known == kOptions.end())
      return out.error = fail("Unknown option '" + std::string(name) + "'."), out;
    const int index = int(known->option);
    given[index] = true;
    if (known->option == Option::Journal) {  // its number may follow, or be left out
      if (equals != std::string_view::npos) {
        values[index] = std::string(body.substr(equals + 1));
      } else if (i + 1 < arguments.size() && looksLikeNumber(arguments[i + 1])) {
        values[index] = arguments[++i];
      }
      continue;
    }
    if (!known->takesValue) {
      if (equals != std::string_view::npos) {
        return out.error = fail("Unexpected value after '--" + std::string(name) + "'."), out;
      }
    } else if (equals != std::string_view::npos) {
      values[index] = std::string(body.substr(equals + 1));
    } else if (i + 1 < arguments.size()) {
      values[index] = arguments[++i];
    } else {
      return out.error = fail("Missing value after '--" + std::string(name) + "'."), out;
    }
  }
  const auto value = [&](Option o) { return values[int(o)]; };
  if (given[int(Option::Help)]) return out.help = true, out;
  if (given[int(Option::Version)]) return out.version = true, out;
  if (system == System::Windows && given[int(Option::PortDir)]) {
    out.error = fail(
        "--port-dir is for Linux, where COMn may be a link in a folder; Windows opens "
        "its COM ports by name");
    return out;
  }
  for (const Option folder : {Option::DataDir, Option::PortDir}) {
    const std::optional<std::string> path = value(folder);
    if (path && !isFolder(PathFromUtf8(*path))) {
      const std::string_view name = folder == Option::DataDir ? "--data-dir" : "--port-dir";
      out.error = fail(std::string(name) + " \"" + *path + "\" is not an existing folder");
      return out;
    }
  }
  const int modes = int(given[int(Option::Backup)]) + int(given[int(Option::Compare)]) +
                    int(given[int(Option::Restore)]);
  if (given[int(Option::Journal)]) {
    const std::string n = value(Option::Journal).value_or("20");
    if (const std::string trouble = journalNumberTrouble(n); !trouble.empty()) {
      out.error = fail("--journal takes a number of entries from 0 to " +
                       std::to_string(kMostJournalEntries) + " (\"" + n + "\" " + trouble + ")");
      return out;
    }
    if (modes > 0 || given[int(Option::Find)] || given[int(Option::Port)] || !positional.empty()) {
      out.error = fail("--journal goes alone (--data-dir, --show-secrets at most)");
      return out;
    }
    out.journalEntries = std::stoi(n);
  }
  if (given[int(Option::Find)]) {
    if (modes > 0 || given[int(Option::Port)] || !positional.empty()) {
      out.error = fail("--find goes alone (with --port-dir at most)");
      return out;
    }
    out.find = true;
  }
  if (given[int(Option::AcceptMechanics)] && !given[int(Option::Restore)]) {
    out.error = fail("--accept-mechanics goes with --restore");
    return out;
  }
  out.acceptMechanics = given[int(Option::AcceptMechanics)];
  if (modes > 1 || (modes == 0 && given[int(Option::Port)])) {
    out.error = fail("one of --backup, --compare, --restore (--port goes with one of them)");
    return out;
  }
  if (value(Option::DataDir)) out.dataFolder = PathFromUtf8(*value(Option::DataDir));
  if (value(Option::PortDir)) out.portFolder = PathFromUtf8(*value(Option::PortDir));
  if (value(Option::Screenshot)) out.screenshot = PathFromUtf8(*value(Option::Screenshot));
  if (value(Option::ReadAndScreenshot))
    out.readAndScreenshot = PathFromUtf8(*value(Option::ReadAndScreenshot));
  if (value(Option::ControlRects)) out.controlRects = PathFromUtf8(*value(Option::ControlRects));
  out.showSecrets = given[int(Option::ShowSecrets)];
  if (modes == 0 || out.journalEntries) return out;

  const Option mode = given[int(Option::Backup)]    ? Option::Backup
                      : given[int(Option::Compare)] ? Option::Compare
                                                    : Option::Restore;
  out.mode = mode == Option::Backup    ? BackupMode::Backup
             : mode == Option::Compare ? BackupMode::Compare
                                       : BackupMode::Restore;
  const std::string file = *value(mode);
  out.port = value(Option::Port).value_or("");
  // "--backup --port COM1" would take "--port" for the file and back up another controller.
  std::string wrong;
  if (file.starts_with('-')) wrong = "FILE is missing (\"" + file + "\" is an option)";
  if (out.port.starts_with('-')) wrong = "PORT is missing";
  if (!positional.empty()) wrong = "\"" + positional.front() + "\" is no option";
  if (!wrong.empty()) return out.error = fail(wrong, true), out;
  out.file = PathFromUtf8(file);
  return out;
}

StartUp ChooseStartUp(const Arguments& args, Program program) {
  if (!args.error.empty()) return StartUp::Trouble;
  if (args.help) return StartUp::Help;
  if (args.version) return StartUp::Version;
  if (program == Program::Window && (args.journalEntries || args.find || args.mode))
    return StartUp::ConsoleOnly;
  if (args.journalEntries) return StartUp::Journal;
  if (args.find) return StartUp::Find;
  if (args.mode) return StartUp::Backup;
  return program == Program::Console ? StartUp::Usage : StartUp::Window;
}

std::string InvokedName(std::string_view argv0) {
  const std::size_t slash = argv0.find_last_of(kThisSystem == System::Windows ? "/\\" : "/");
  const std::string_view name = slash == std::string_view::npos ? argv0 : argv0.substr(slash + 1);
  return name.empty() ? kProgramName : std::string(name);
}

std::string HelpText(std::string_view program, System system) {
  const bool windows = system == System::Windows;
  std::string out = "Usage: " + std::string(program) + " [options]\n" +
                    "Korvane ｾｯﾃｲ — settings tool for the mount controller.\n\n";
  out += windows ? "korvane-settei.exe is the window; korvane-settei-cli.exe runs in cmd.exe or "
                   "PowerShell:\n"
                 : "Without a mode it opens the window. The backup modes need no window and no "
                   "display:\n";
  out += R"(  --backup FILE   read every setting from the controller and save them in FILE
  --compare FILE  print each setting that differs: key, the controller's value, the file's
  --restore FILE  write the settings that differ, read them back and print each with its
                  read-back
)";
  out += windows ? "PORT is COMn, or \"auto\": the port where the controller answers, found as "
                   "--find finds\nit; without --port the port that siri.DAT names.\n"
                 : "PORT is COMn (mapped as the window maps it), a device path, or \"auto\": the "
                   "port where the\ncontroller answers, found as --find finds it; without --port "
                   "the port that siri.DAT names.\n";
  out += R"(Progress goes to standard error, results to standard output.
A restore that would change the mount's steps per degree or per worm (a backup of another
mount, perhaps) writes nothing and says so, unless --accept-mechanics is given.
Exit status: 0 done and everything matches; 1 the controller differs from the file
(--compare) or a read-back does not match (--restore); 2 trouble before anything was
written (bad arguments, a refused file, a port that does not open, a setting that did not
answer, a restore of the mechanics without --accept-mechanics).

  --journal [N]   print the last N entries (20 unless given) of the journal of settings
                  written, in the file's form (see )";
  out += windows ? "お読みください.txt" : "the README's \"Journal\"";
  out += R"(), the WiFi
                  passwords as ******** unless --show-secrets is given.
  --find          try every port there is with one query that only reads, and print one line
                  per port (name, device, what answered) and last "見つかったポート:" with the
                  port(s) where the controller answered. Exit status: 0 exactly one, 1 none,
                  3 several, 2 trouble of the tool itself.

Options:
)";
  out += windows ? "  -h, --help, /?               Displays help on commandline options.\n"
                 : "  -h, --help                   Displays help on commandline options.\n";
  out +=
      "  --version                    Displays the version and the commit it was built from.\n"
      "  --data-dir <dir>             Folder of siri.DAT and SetData.txt.\n";
  if (!windows) {
    out += R"(  --port-dir <dir>             Folder searched for COMn links.
  --screenshot <png>           Save a PNG of the window and quit.
  --read-and-screenshot <png>  Press 接続, read everything, save a PNG and quit.
  --control-rects <file>       Write each control's rectangle in pixels and quit.
)";
  }
  out += R"(  --backup <FILE>              Back up every setting to FILE.
  --compare <FILE>             Compare the controller with FILE.
  --restore <FILE>             Restore what differs from FILE.
)";
  out += windows ? "  --port <PORT>                The port of the backup modes (COMn or auto).\n"
                 : "  --port <PORT>                The port of the backup modes (COMn, a device, "
                   "or auto).\n";
  out += R"(  --find                       Find the port of the controller.
  --journal [N]                Print the journal's last N entries.
  --show-secrets               Print the WiFi passwords in --compare, --restore
                               and --journal (else ********).
  --accept-mechanics           Let --restore change the steps per degree and per worm.
)";
  return out;
}

std::string VersionText() {
  return std::string(kProgramName) + " " KORVANE_VERSION " (commit " KORVANE_COMMIT ")\n";
}

std::string ControlRectLine(std::string_view name, int x, int y, int width, int height) {
  return std::string(name) + " " + std::to_string(x) + " " + std::to_string(y) + " " +
         std::to_string(width) + " " + std::to_string(height) + "\n";
}

std::filesystem::path LocalFilesFolder() {
  const std::filesystem::path folder = ProgramFolder();
  if (ChooseLocalFilesPlace(folder, ExistsOnDisk, FolderWritable(folder)) ==
      LocalFilesPlace::kBesideProgram) {
    return folder;
  }
  const std::filesystem::path own = UserDataFolder();
  std::error_code ec;
  std::filesystem::create_directories(own, ec);
  return own;
}

}  // namespace korvane
