// The port's receive notification: collect text up to each "#", and put every reply where the
// current ReplyKind says.

#include "app/form1.h"
#include "backup/backup_keys.h"
#include "protocol/controls.h"
#include "protocol/utf8.h"
#include "settings/dispatch.h"

namespace korvane {

void Form1::MSComm1_OnComm(int eventCode, std::string_view bytes) {
  if (eventCode != kReceiveEvent) return;
  recvBuf_.append(bytes);
  if (recvBuf_.text().empty()) return;
  loop_.processEvents();
  // A notification handled during that yield may have taken the replies already. Every complete
  // reply is filed, in order: a late answer and the awaited one can come in one read, and the
  // awaited one, the last, is the one the field keeps.
  while (const std::optional<std::string> taken = recvBuf_.takeReply()) {
    const std::string reply = ValidUtf8(*taken);
    fileReply(reply, reply != *taken);
  }
}

void Form1::fileReply(const std::string& reply, bool repaired) {
  const ReplyEffects effects = DispatchReply(replyKind_, reply);
  if (effects.text) panel_.setText(fieldName(effects.text->field), effects.text->text);
  if (effects.lamps) {
    const LampPair pair = effects.lamps->pair;
    if (effects.lamps->firstLit) {
      applyLamps(pair.first, pair.second);
    } else {
      applyLamps(pair.second, pair.first);
    }
  }
  if (const int position = backupPositionOfKind(replyKind_); position >= 0) {
    if (auto value = ShownValue(effects)) known_[position] = std::move(*value);
  }
  if (replyWatch_) replyWatch_(replyKind_, effects, repaired);
}

}  // namespace korvane
