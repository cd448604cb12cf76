// The SET buttons: one write command (or the rejection notice) from the field of the row.

#include "app/form1.h"
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
    case SetOutcome::Kind::Command:
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
