#include "backup/backup_file.h"

#include <array>
#include <cstdio>

#include "protocol/utf8.h"
#include "settings/reported_form.h"

namespace korvane {

namespace {

constexpr std::string_view kBackupSection = "backup";
constexpr std::string_view kSettingsSection = "settings";

// The keys of the [backup] section, in the order we write them; the last came later, and a file
// without it is read still.
constexpr std::array<std::string_view, 4> kHeaderKeys{"tool_version", "created", "port", "mount"};
constexpr std::size_t kRequiredHeaderKeys = 3;
std::string BackupHeader::*const kHeaderFields[] = {
    &BackupHeader::toolVersion, &BackupHeader::created, &BackupHeader::port, &BackupHeader::mount};

bool isControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}
bool hasControl(std::string_view text) {
  for (char c : text) {
    if (isControl(c)) return true;
  }
  return false;
}

std::string quoted(std::string_view value) {
  return "「" + std::string(value) + "」";
}

std::string wholeNumber(double value) {
  return std::to_string(static_cast<long long>(value));
}

std::string atLine(int line, std::string_view what) {
  if (line == 0) return std::string(what);
  return std::to_string(line) + " 行目: " + std::string(what);
}

// One section of the file as it is being read: where it starts and on which line each key stood.
template <std::size_t N>
struct SectionSeen {
  int header = 0;  // the line of "[name]"; 0 while not seen
  std::array<int, N> keyLine{};
};

template <std::size_t N, typename KeyName>
std::optional<BackupFileError> missingKeys(const SectionSeen<N>& seen, std::string_view section,
                                           KeyName keyName, std::size_t required = N) {
  if (seen.header == 0) {
    return BackupFileError{0, "[" + std::string(section) + "] の節がありません。"};
  }
  std::string missing;
  for (std::size_t i = 0; i < required; ++i) {
    if (seen.keyLine[i] != 0) continue;
    if (!missing.empty()) missing += ", ";
    missing += keyName(i);
  }
  if (missing.empty()) return std::nullopt;
  return BackupFileError{
      seen.header,
      atLine(seen.header, "[" + std::string(section) + "] に次のキーがありません: " + missing)};
}

}  // namespace

std::optional<std::string> BackupValueProblem(std::size_t position, std::string_view value) {
  const RestoreWay way = restoreWay(position);
  const SetRow* row = setRowByField(backupSetting(position).field);
  // A password is not repeated in a message, and a control byte is shown as "\xNN".
  const std::string shown = "「" + ShownBackupValue(position, value) + "」";
  // Nothing in a file may end a command early or start another. A colon may stand where it never
  // reaches the wire: in the controller's time, kept for reference and never sent ("21:00:00"),
  // and in an angle of which SET sends only the leading number ("85:00:00" writes ":So85#").
  const bool colonAllowed =
      way == RestoreWay::Never || (row != nullptr && row->form == ValueForm::LeadingNumber);
  if (hasControl(value) || value.find('#') != std::string_view::npos ||
      (!colonAllowed && value.find(':') != std::string_view::npos)) {
    return shown + " には「#」「:」や制御文字があります。";
  }
  switch (way) {
    case RestoreWay::Never:
      return std::nullopt;
    case RestoreWay::Switch:
      if (value == "0" || value == "1") return std::nullopt;
      return shown + " は 0 か 1 でなければなりません。";
    case RestoreWay::SetButton: {
      // A row with a range of its own names that range: whatever the controller may report, its
      // SET button writes nothing outside it.
      const auto outOfRange = [&] {
        return shown + " は " + wholeNumber(row->low) + " から " + wholeNumber(row->high) +
               " までの整数ではありません（SET ボタンは範囲外の値を書き込みません）。";
      };
      // Only what the controller could have reported: a value its button would still make some
      // command of ("abc", blanks, "1000" for a backlash) would write something nobody chose.
      if (auto form = ReportedFormProblem(row->reported, value)) {
        return row->ranged ? outOfRange() : shown + " は " + *form + " ではありません。";
      }
      switch (backupSetOutcome(position, value).kind) {
        case SetOutcome::Kind::Command:
          return std::nullopt;
        case SetOutcome::Kind::Rejection:
          return outOfRange();
        case SetOutcome::Kind::Refused:  // not reached: refused above
        case SetOutcome::Kind::Nothing:
          return shown + " は SET ボタンが何も送らない値です。";
      }
    }
  }
  return std::nullopt;
}

std::string Format_Backup(const BackupFile& file, std::string_view lineEnd) {
  const std::string end(lineEnd);
  std::string out = "; Korvane ｾｯﾃｲ controller settings. Each value is the rest of its line." + end;
  out += "[" + std::string(kBackupSection) + "]" + end;
  for (std::size_t i = 0; i < kHeaderKeys.size(); ++i) {
    out += std::string(kHeaderKeys[i]) + "=" + file.header.*kHeaderFields[i] + end;
  }
  out += end + "[" + std::string(kSettingsSection) + "]" + end;
  for (std::size_t i = 0; i < kBackupKeys.size(); ++i) {
    out += std::string(kBackupKeys[i].key) + "=" + file.values[i] + end;
  }
  return out;
}

std::variant<BackupFile, BackupFileError> Parse_Backup(std::string_view text) {
  auto refuse = [](int line, std::string_view what) {
    return BackupFileError{line, atLine(line, what)};
  };
  if (text.size() > kBackupFileLimit) {
    return refuse(
        0, "ファイルが大きすぎます（" + std::to_string(kBackupFileLimit / 1024) + " KiB まで）。");
  }
  if (text.starts_with(kUtf8ByteOrderMark)) text.remove_prefix(kUtf8ByteOrderMark.size());

  BackupFile file;
  SectionSeen<kHeaderKeys.size()> header;
  SectionSeen<kBackupKeys.size()> settings;
  std::string_view section;
  int lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);

    if (hasControl(line)) return refuse(lineNumber, "制御文字があります。");
    if (line.starts_with(';')) continue;
    if (ValidUtf8(line) != line) return refuse(lineNumber, "UTF-8 の文字でないバイトがあります。");
    if (line.find_first_not_of(' ') == std::string_view::npos) continue;

    if (line.front() == '[') {
      if (!line.ends_with(']')) return refuse(lineNumber, "節の見出しが「]」で終わっていません。");
      section = line.substr(1, line.size() - 2);
      int* seenAt = section == kBackupSection     ? &header.header
                    : section == kSettingsSection ? &settings.header
                                                  : nullptr;
      if (seenAt == nullptr) return refuse(lineNumber, "不明な節 " + quoted(section) + " です。");
      if (*seenAt != 0) {
        return refuse(lineNumber, "節 " + quoted(section) + " は " + std::to_string(*seenAt) +
                                      " 行目にもあります。");
      }
      *seenAt = lineNumber;
      continue;
    }

    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      return refuse(lineNumber, "「キー=値」の形ではありません。");
    }
    if (section.empty()) return refuse(lineNumber, "どの節にも属していません。");
    const std::string_view key = line.substr(0, equals);
    const std::string_view value = line.substr(equals + 1);

    int position = -1;
    int* keyLine = nullptr;
    if (section == kBackupSection) {
      for (std::size_t i = 0; i < kHeaderKeys.size(); ++i) {
        if (kHeaderKeys[i] == key) position = static_cast<int>(i);
      }
      if (position >= 0) keyLine = &header.keyLine[position];
    } else {
      position = backupPositionOfKey(key);
      if (position >= 0) keyLine = &settings.keyLine[position];
    }
    if (keyLine == nullptr) return refuse(lineNumber, "不明なキー " + quoted(key) + " です。");
    if (*keyLine != 0) {
      return refuse(lineNumber, "キー " + quoted(key) + " は " + std::to_string(*keyLine) +
                                    " 行目にもあります。");
    }
    *keyLine = lineNumber;
    if (section == kBackupSection) {
      file.header.*kHeaderFields[position] = std::string(value);
      continue;
    }
    if (auto problem = BackupValueProblem(static_cast<std::size_t>(position), value)) {
      return refuse(lineNumber, std::string(key) + " の値 " + *problem);
    }
    file.values[static_cast<std::size_t>(position)] = std::string(value);
  }

  if (auto missing = missingKeys(
          header, kBackupSection, [](std::size_t i) { return std::string(kHeaderKeys[i]); },
          kRequiredHeaderKeys)) {
    return *missing;
  }
  if (auto missing = missingKeys(settings, kSettingsSection,
                                 [](std::size_t i) { return std::string(kBackupKeys[i].key); })) {
    return *missing;
  }
  if (header.keyLine[kRequiredHeaderKeys] == 0) file.header.mount = file.values[kMountNamePosition];
  return file;
}

std::string BackupTimestamp(const LocalDateTime& at) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", at.year, at.month, at.day,
                at.hour, at.minute, at.second);
  return text;
}

std::string BackupFileName(const LocalDateTime& at) {
  char text[40];
  std::snprintf(text, sizeof text, "korvane-%04d%02d%02d-%02d%02d.ini", at.year, at.month, at.day,
                at.hour, at.minute);
  return text;
}

}  // namespace korvane
