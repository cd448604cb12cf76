// The one way a setting the controller keeps is written, and the SET buttons on top of it.

#include "app/form1.h"
#include "app/port_names.h"
#include "backup/backup_keys.h"
#include "files/journal.h"
#include "protocol/catalogue.h"
#include "protocol/command_set.h"
#include "protocol/controls.h"
#include "settings/dispatch.h"
#include "settings/set_command.h"

namespace korvane {

namespace {
constexpr const char* kRefusedTitle = "入力エラー";
constexpr const char* kNotWrittenText =
    "次の設定はコントローラーに届かなかったため、書き込んでいません（変更履歴にも残していませ"
    "ん）。";
constexpr const char* kNotWrittenTitle = "通信エラー";
}  // namespace

std::string Form1::portName() const {
  return portName_.empty() ? ComName(port_.number()) : portName_;
}

SettingWrite Form1::WriteSetting(std::size_t position, std::string_view value,
                                 std::optional<ReadBack> readBack) {
  SettingWrite result;
  if (position >= kBackupSettingCount) return result;
  std::string command;
  switch (restoreWay(position)) {
    case RestoreWay::Never:
      return result;
    case RestoreWay::Switch:
      // A lamp pair is "1" (its first lamp: plus, ON) or "0"; anything else names neither.
      if (value != "0" && value != "1") {
        result.status = SettingWrite::Status::Refused;
        result.refusal = backupSettingName(position) + " は 0 か 1 でなければなりません。";
        return result;
      }
      command = switchCommand(position, value == "1");
      result.sent = std::string(value);
      break;
    case RestoreWay::SetButton: {
      // Any answer to a write lands in the hidden field, never in a visible one.
      replyKind_ = kSetReplyKind;
      SetOutcome outcome = backupSetOutcome(position, value);
      switch (outcome.kind) {
        case SetOutcome::Kind::Command:
          command = std::move(outcome.text);
          result.sent =
              WrittenValue(*setRowByField(backupSetting(position).field), std::string(command));
          break;
        case SetOutcome::Kind::Rejection:
          result.status = SendCommand(outcome.text) ? SettingWrite::Status::Rejected
                                                    : SettingWrite::Status::NotSent;
          return result;
        case SetOutcome::Kind::Refused:
          result.status = SettingWrite::Status::Refused;
          result.refusal = std::move(outcome.text);
          return result;
        case SetOutcome::Kind::Nothing:
          return result;
      }
      break;
    }
  }
  const std::string before = knownValue(static_cast<int>(position));
  if (!SendCommand(command)) {
    result.status = SettingWrite::Status::NotSent;
    return result;
  }
  result.status = SettingWrite::Status::Written;
  if (readBack) {
    Wait(readBack->afterWrite);
    result.readBack = readBackOne(position, readBack->afterQuery);
  }
  journal(static_cast<int>(position), before, result.sent,
          readBack ? result.readBack.value_or(std::string(kNotReadBack)) : std::string());
  return result;
}

std::optional<std::string> Form1::readBackOne(std::size_t position, double afterQueryMs) {
  std::optional<std::string> heard;
  const int kind = kBackupKeys[position].replyKind;
  const Setting* const settings[] = {&backupSetting(position)};
  readSettings(
      settings,
      [&](int replyKind, std::string_view, const ReplyEffects& effects, bool) {
        if (replyKind != kind) return;
        if (auto value = ShownValue(effects)) heard = std::move(*value);
      },
      nullptr, afterQueryMs);
  return heard;
}

void Form1::tellNotWritten(const std::vector<std::size_t>& positions) {
  if (positions.empty() || ending_) return;
  std::string text = kNotWrittenText;
  for (std::size_t position : positions) text += "\n・" + backupSettingName(position);
  operator_.message(text, kNotWrittenTitle, MessageStyle::Critical);
}

SettingWrite Form1::setButton(const SetRow& row) {
  SettingWrite write = WriteSetting(backupPositionOfRow(row), panel_.text(fieldName(row.field)));
  if (write.status == SettingWrite::Status::Written) unmark(row.field);
  if (write.status == SettingWrite::Status::Refused) {
    operator_.message(write.refusal, kRefusedTitle, MessageStyle::Critical);
  }
  return write;
}

void Form1::Command6_Click(const SetRow& row) {
  if (setButton(row).status == SettingWrite::Status::NotSent) {
    tellNotWritten({backupPositionOfRow(row)});
  }
}

}  // namespace korvane
