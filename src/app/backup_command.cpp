#include "app/backup_command.h"

#include <cstdio>
#include <optional>
#include <string>

#include "app/backup_sequences.h"
#include "app/form1.h"
#include "app/journal_shown.h"
#include "app/memory_panel.h"
#include "app/port_names.h"
#include "app/port_search.h"
#include "files/journal.h"
#include "files/local_file.h"

namespace korvane {

MessageButton ConsoleOperator::message(std::string_view text, std::string_view title,
                                       MessageStyle) {
  std::fprintf(stderr, "korvane-settei: %s%s%.*s\n", std::string(title).c_str(),
               title.empty() ? "" : ": ", static_cast<int>(text.size()), text.data());
  ++messages;
  return MessageButton::Ok;
}

namespace {

// By RestoreRow::Verdict: a row without a read-back differs as far as a script can tell.
constexpr const char* kVerdictWords[] = {"not written", "matches", "differs", "differs"};

void printProgress(int done, int total) {
  std::fprintf(stderr, "korvane-settei: %d/%d %s\n", done, total,
               std::string(kBackupKeys[static_cast<std::size_t>(done - 1)].key).c_str());
}

// key, value, value[, verdict]: the values as ShownBackupValue gives them, so that a password
// stays hidden and a control byte from a noisy line cannot break the row.
void printRow(std::size_t position, bool secrets, std::string_view first,
              const std::optional<std::string>& second, std::string_view third = {}) {
  std::printf("%s\t%s\t%s", std::string(kBackupKeys[position].key).c_str(),
              ShownBackupValue(position, first, secrets).c_str(),
              second ? ShownBackupValue(position, *second, secrets).c_str() : "(no answer)");
  if (!third.empty()) std::printf("\t%.*s", static_cast<int>(third.size()), third.data());
  std::printf("\n");
}

}  // namespace

std::filesystem::path BackupCommandDevice(const BackupCommand& command, int number) {
  // "COM1".."COM255" is a port number, "auto" the number found, anything else a device path.
  if (!command.port.empty() && command.port != kAutoPort &&
      ComNumber(command.port, kHighestPortNumber) == 0) {
    return PathFromUtf8(command.port);
  }
  return PortDevice(number, command.portFolder, ExistsOnDisk);
}

namespace {

// The search of --find and --port auto: progress on standard error, then each port's line.
SearchRun search(const BackupCommand& command, Port& port, EventLoop& loop, PortEvents& events,
                 const std::function<void(const ProbeResult&)>& each) {
  const std::vector<int> numbers =
      command.portsPresent ? command.portsPresent() : std::vector<int>{};
  int told = -1;
  const SearchRun run = SearchPorts(
      numbers, port, events, loop,
      command.deviceText ? command.deviceText : [](int) { return std::string(); },
      [&](int done, int total, int number) {
        if (done != told && done < total) {
          std::fprintf(stderr, "korvane-settei: %s\n",
                       FindProgressText(done, total, number).c_str());
          told = done;
        }
        return true;
      });
  for (const ProbeResult& r : run.results) each(r);
  return run;
}

}  // namespace

int RunJournalCommand(const std::filesystem::path& dataFolder, int entries, bool secrets) {
  const JournalRead read = ReadJournal(dataFolder);
  std::fputs(std::string(kJournalHeader).c_str(), stdout);
  const std::size_t from =
      read.entries.size() > std::size_t(entries) ? read.entries.size() - std::size_t(entries) : 0;
  for (std::size_t i = from; i < read.entries.size(); ++i)
    std::fputs(FormatJournalLine(ShownJournalEntry(read.entries[i], secrets)).c_str(), stdout);
  if (read.skipped > 0)
    std::fprintf(stderr, "korvane-settei: %s\n", JournalSkippedText(read.skipped).c_str());
  return kExitDone;
}

int RunFindCommand(const BackupCommand& command, Port& port, EventLoop& loop, PortEvents& events) {
  const SearchRun run = search(command, port, loop, events, [](const ProbeResult& r) {
    std::printf("%s\n", ProbeLine(r).c_str());
  });
  std::string found;
  for (const int number : FoundPorts(run.results)) found += " " + ComName(number);
  std::printf("found:%s\n", found.empty() ? " none" : found.c_str());
  if (run.results.empty()) {
    std::fprintf(stderr, "korvane-settei: %s\n", FindMessage(run, false).c_str());
  }
  if (PortsWantDialoutGroup() && RefusedForPermission(run.results))
    std::fprintf(stderr, "korvane-settei: %s\n", std::string(kDialoutHint).c_str());
  return FindExitStatus(run.results);
}

int RunBackupCommand(const BackupCommand& command, Port& port, EventLoop& loop,
                     PortEvents& events) {
  int number = ComNumber(command.port, kHighestPortNumber);
  if (command.port == kAutoPort) {
    const SearchRun run = search(command, port, loop, events, [](const ProbeResult& r) {
      std::fprintf(stderr, "korvane-settei: %s\n", ProbeLine(r).c_str());
    });
    const std::vector<int> found = FoundPorts(run.results);
    if (found.empty()) {
      std::fprintf(stderr, "korvane-settei: %s\n",
                   FindMessage(run, PortsWantDialoutGroup()).c_str());
      return kExitTrouble;
    }
    if (found.size() > 1) {  // which one is meant, only the operator knows
      std::string names;
      for (const int n : found) names += (names.empty() ? "" : " ") + ComName(n);
      std::fprintf(stderr,
                   "korvane-settei: コントローラーが複数のポート（%s）で応答しました。"
                   "--port でどれか一つを選んでください。\n",
                   names.c_str());
      return kExitTrouble;
    }
    number = found.front();
  }
  MemoryPanel panel;
  ConsoleOperator op;
  Form1 form(panel, port, loop, op, command.dataFolder);
  events = PortEventsFor(form, loop);
  form.Load_param();  // the port "siri.DAT" names, as the window would take
  if (number != 0) port.setNumber(number);
  form.COMM1open();  // says itself when no port opens
  if (!port.isOpen()) return kExitTrouble;
  // The backup's header and the journal name what was opened, as --port takes it again: the
  // device given (a relative path made absolute), else the port number.
  if (number == 0 && !command.port.empty()) {
    std::error_code ec;
    form.setPortName(
        PathUtf8(DevicePathToOpen(PathFromUtf8(command.port), std::filesystem::current_path(ec))));
  }

  const BackupProgress progress = [](int done, int total) {
    printProgress(done, total);
    return true;
  };
  if (command.mode == BackupMode::Backup) {
    const BackupSaveResult result =
        form.Backup_Save(command.file, KORVANE_VERSION, form.portName(), progress);
    std::fprintf(stderr, "korvane-settei: %s\n", result.message.c_str());
    return result.trouble == BackupTrouble::None ? kExitDone : kExitTrouble;
  }

  const BackupComparison comparison = form.Backup_Compare(command.file, progress);
  if (comparison.trouble != BackupTrouble::None) {
    std::fprintf(stderr, "korvane-settei: %s\n", comparison.message.c_str());
    return kExitTrouble;
  }
  if (command.mode == BackupMode::Compare) {
    for (std::size_t position : comparison.differing) {
      printRow(position, command.showSecrets, comparison.controller[position],
               comparison.file.values[position]);
    }
    return comparison.differing.empty() ? kExitDone : kExitDiffers;
  }
  if (comparison.differing.empty()) return kExitDone;
  const RestoreReport report = form.Backup_Restore(comparison.file, comparison.differing);
  if (report.written() == 0 && report.trouble != BackupTrouble::None) {
    std::fprintf(stderr, "korvane-settei: %s\n", report.summary.c_str());
    return kExitTrouble;
  }
  for (const RestoreRow& row : report.rows) {
    printRow(row.position, command.showSecrets, comparison.file.values[row.position], row.now,
             kVerdictWords[static_cast<int>(row.verdict())]);
  }
  std::fprintf(stderr, "korvane-settei: %s\n", report.summary.c_str());
  const bool allMatch = report.trouble == BackupTrouble::None &&
                        report.matching() == static_cast<int>(report.rows.size());
  return allMatch ? kExitDone : kExitDiffers;
}

}  // namespace korvane
