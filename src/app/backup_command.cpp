#include "app/backup_command.h"

#include <cstdio>
#include <optional>
#include <string>

#include "app/backup_sequences.h"
#include "app/console_output.h"
#include "app/conversation.h"
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
  const std::string shown = told(std::string(text));
  if (!shown.empty()) {
    Printf(stderr, "korvane-settei: %s%s%s\n", std::string(title).c_str(),
           title.empty() ? "" : ": ", shown.c_str());
  }
  ++messages;
  return MessageButton::Ok;
}

std::string ConsoleOperator::told(std::string text) {
  const std::string_view lost = kPortLostText;
  const std::size_t at = text.find(lost);
  if (at == std::string::npos) return text;
  if (!portLostTold) {
    portLostTold = true;
    return text.replace(at, lost.size(), kPortLostConsoleText);
  }
  // Out with the line break that joined it to the rest.
  const bool before = at > 0 && text[at - 1] == '\n';
  const bool after = !before && at + lost.size() < text.size() && text[at + lost.size()] == '\n';
  return text.erase(at - (before ? 1 : 0), lost.size() + (before || after ? 1 : 0));
}

namespace {

void printProgress(int done, int total) {
  Printf(stderr, "korvane-settei: %d/%d %s\n", done, total,
         std::string(kBackupKeys[static_cast<std::size_t>(done - 1)].key).c_str());
}

// key, value, value[, verdict]: the values as ShownBackupValue gives them, so that a password
// stays hidden and a control byte from a noisy line cannot break the row.
void printRow(std::size_t position, bool secrets, std::string_view first,
              const std::optional<std::string>& second, std::string_view third = {}) {
  std::string line =
      std::string(kBackupKeys[position].key) + "\t" + ShownBackupValue(position, first, secrets) +
      "\t" +
      (second ? ShownBackupValue(position, *second, secrets) : std::string(kConsoleWords.noAnswer));
  if (!third.empty()) line += "\t" + std::string(third);
  Print(stdout, line + "\n");
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
          Printf(stderr, "korvane-settei: %s\n", FindProgressText(done, total, number).c_str());
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
  Print(stdout, kJournalHeader);
  const std::size_t from =
      read.entries.size() > std::size_t(entries) ? read.entries.size() - std::size_t(entries) : 0;
  for (std::size_t i = from; i < read.entries.size(); ++i)
    Print(stdout, FormatJournalLine(ShownJournalEntry(read.entries[i], secrets)));
  if (read.skipped > 0)
    Printf(stderr, "korvane-settei: %s\n", JournalSkippedText(read.skipped).c_str());
  return kExitDone;
}

int RunFindCommand(const BackupCommand& command, Port& port, EventLoop& loop, PortEvents& events) {
  const SearchRun run = search(command, port, loop, events,
                               [](const ProbeResult& r) { Print(stdout, ProbeLine(r) + "\n"); });
  std::string found(kConsoleWords.found);
  for (const int number : FoundPorts(run.results)) found += " " + ComName(number);
  if (found.size() == kConsoleWords.found.size()) found += " " + std::string(kConsoleWords.none);
  Print(stdout, found + "\n");
  if (run.results.empty()) {
    Printf(stderr, "korvane-settei: %s\n", FindMessage(run, false).c_str());
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
      Printf(stderr, "korvane-settei: %s\n", ProbeLine(r).c_str());
    });
    const std::vector<int> found = FoundPorts(run.results);
    if (found.empty()) {
      Printf(stderr, "korvane-settei: %s\n", FindMessage(run, PortsWantDialoutGroup()).c_str());
      return kExitTrouble;
    }
    if (found.size() > 1) {  // which one is meant, only the operator knows
      std::string names;
      for (const int n : found) names += (names.empty() ? "" : " ") + ComName(n);
      Printf(stderr,
             "korvane-settei: コントローラーが複数のポート（%s）で応答しました。"
             "--port でどれか一つを選んでください。\n",
             names.c_str());
      return kExitTrouble;
    }
    number = found.front();
  }
  MemoryPanel panel;
  ConsoleOperator op;
  const auto tell = [&op](std::string text) {
    text = op.told(std::move(text));
    if (!text.empty()) Print(stderr, "korvane-settei: " + text + "\n");
  };
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
    const BackupSaveResult result = form.Backup_Save(command.file, progress);
    tell(result.message);
    return result.trouble == BackupTrouble::None ? kExitDone : kExitTrouble;
  }

  const BackupComparison comparison = form.Backup_Compare(command.file, progress);
  if (comparison.trouble != BackupTrouble::None) {
    tell(comparison.message);
    return kExitTrouble;
  }
  std::fprintf(
      stderr, "korvane-settei: %s\n",
      MountsText(comparison.file.header, comparison.controller[kMountNamePosition]).c_str());
  if (command.mode == BackupMode::Compare) {
    for (std::size_t position : comparison.differing) {
      printRow(position, command.showSecrets, comparison.controller[position],
               comparison.file.values[position]);
    }
    return comparison.differing.empty() ? kExitDone : kExitDiffers;
  }
  if (comparison.differing.empty()) return kExitDone;
  const std::vector<std::size_t> changes =
      MechanicsChanges(comparison.controller, comparison.file.values, comparison.differing);
  if (!changes.empty() && !command.acceptMechanics) {
    std::fprintf(stderr,
                 "korvane-settei: %s\n何も書き込んでいません。書き込むには --accept-mechanics を"
                 "付けてください。\n",
                 MechanicsText(changes, comparison.controller, comparison.file).c_str());
    return kExitTrouble;
  }
  const RestoreReport report = form.Backup_Restore(comparison, comparison.differing, true);
  if (report.written() == 0 && report.trouble != BackupTrouble::None) {
    tell(report.summary);
    return kExitTrouble;
  }
  for (const RestoreRow& row : report.rows) {
    printRow(row.position, command.showSecrets, comparison.file.values[row.position], row.now,
             kConsoleWords.verdicts[static_cast<std::size_t>(row.verdict())]);
  }
  tell(report.summary);
  const bool allMatch = report.trouble == BackupTrouble::None &&
                        report.matching() == static_cast<int>(report.rows.size());
  return allMatch ? kExitDone : kExitDiffers;
}

}  // namespace korvane
