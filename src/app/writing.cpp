// The SET buttons: one write command (or the rejection notice) from the field of the row.

#include "app/form1.h"
#include "backup/backup_keys.h"
#include "protocol/catalogue.h"
#include "protocol/command_set.h"
#include "protocol/controls.h"
#include "settings/set_command.h"

namespace korvane {

namespace {
constexpr const char* kRefusedTitle = "入力エラー";
}

void Form1::Command6_Click(const SetRow& row) {
  // Any answer to a write lands in the hidden field, never in a visible one.
  replyKind_ = kSetReplyKind;
  const SetOutcome outcome = Build_SetCmd(row, panel_.text(fieldName(row.field)));
  switch (outcome.kind) {
    case SetOutcome::Kind::Command: {
      const Setting* setting = settingByField(row.field);
      const int position = setting ? backupPositionOfKind(setting->replyKind) : -1;
      const std::string before = knownValue(position);
      SendCommand(outcome.text);
      // The value as it went on the line: the command without its prefix and its "#".
      journal(position, before,
              outcome.text.substr(row.prefix.size(), outcome.text.size() - row.prefix.size() - 1),
              "");
      break;
    }
    case SetOutcome::Kind::Rejection:
      SendCommand(outcome.text);
      break;
    case SetOutcome::Kind::Refused:
      operator_.message(outcome.text, kRefusedTitle, MessageStyle::Critical);
      break;
    case SetOutcome::Kind::Nothing:
      break;
  }
}

}  // namespace korvane
