// The port's receive notification: collect text up to the first "#", take that one reply and put
// it where the current ReplyKind says.

#include "app/controls.h"
#include "app/form1.h"
#include "files/local_file.h"
#include "settings/dispatch.h"

namespace korvane {

void Form1::MSComm1_OnComm(int eventCode, std::string_view bytes) {
  if (eventCode != kReceiveEvent) return;
  recvBuf_.append(bytes);
  // The buffer holds no more than the port's own input buffer: a stream of garbage without "#"
  // loses its oldest bytes instead of growing without end, and a reply after it is still taken.
  if (recvBuf_.size() > kRecvBufLimit && recvBuf_.find('#') == std::string::npos) {
    recvBuf_.erase(0, recvBuf_.size() - kRecvBufLimit);
  }
  if (recvBuf_.empty()) return;
  loop_.processEvents();
  // A notification handled during that yield may have taken the reply already.
  const std::size_t hash = recvBuf_.find('#');
  if (hash == std::string::npos) return;
  const std::size_t start = hash > kRecvBufLimit ? hash - kRecvBufLimit : 0;
  const std::string reply = ValidUtf8(std::string_view(recvBuf_).substr(start, hash - start));
  recvBuf_.clear();  // what came after the "#" in the same buffer goes too

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
}

}  // namespace korvane
