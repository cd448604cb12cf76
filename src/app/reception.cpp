// The port's receive notification: collect text up to the first "#", take that one reply and put
// it where the current ReplyKind says.

#include "protocol/controls.h"
#include "app/form1.h"
#include "protocol/utf8.h"
#include "settings/dispatch.h"

namespace korvane {

void Form1::MSComm1_OnComm(int eventCode, std::string_view bytes) {
  if (eventCode != kReceiveEvent) return;
  recvBuf_.append(bytes);
  if (recvBuf_.text().empty()) return;
  loop_.processEvents();
  // A notification handled during that yield may have taken the reply already.
  const std::optional<std::string> taken = recvBuf_.takeReply();
  if (!taken) return;
  const std::string reply = ValidUtf8(*taken);

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
  if (replyWatch_) replyWatch_(replyKind_, effects);
}

}  // namespace korvane
