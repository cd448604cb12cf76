// The port's receive notification: collect text up to each "#", and file every reply under the
// query that waits for it. A reply when no query waits (an answer to a write, an echo, one that
// came after its query gave up) goes into no field, lamp or remembered value.

#include <algorithm>

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
  // reply is filed, in order: after a query that went unanswered, its late answer and the awaited
  // one can come together, and the awaited one, the last, is the one the field keeps.
  while (const std::optional<std::string> taken = recvBuf_.takeReply()) {
    const std::string reply = ValidUtf8(*taken);
    fileReply(reply, reply != *taken);
  }
}

void Form1::fileReply(const std::string& received, bool repaired) {
  // Some firmware ends each answer with CR LF after its "#" (which then starts the next one).
  std::string_view reply = received;
  while (!reply.empty() && (reply.front() == '\r' || reply.front() == '\n')) reply.remove_prefix(1);
  // A controller that echoes each command sends it back before its answer.
  if (lastCommand_.size() > 1 &&
      reply == std::string_view(lastCommand_).substr(0, lastCommand_.size() - 1))
    return;
  // And some put a ":" before an answer, as before a command: no answer of ours begins so.
  if (reply.starts_with(':')) reply.remove_prefix(1);
  // A "#" alone is no answer when no query waits, nor after the awaited one has its answer: some
  // firmware sends one now and then to keep the line alive.
  if (awaitedKind_ == 0 || (reply.empty() && repliesToAwaited_ > 0)) return;
  ++repliesToAwaited_;
  // The one answer after an unanswered query may be that query's late answer.
  const bool doubtful = afterMiss_ && repliesToAwaited_ == 1;
  const int position = backupPositionOfKind(awaitedKind_);
  const ReplyEffects effects = DispatchReply(awaitedKind_, reply);
  // The owner chose this lamp setting after its query went out: the answer is older than the
  // choice, and neither the lamps nor the remembered value go back to it.
  if (position >= 0 && std::ranges::count(chosenSinceQuery_, std::size_t(position)) > 0) return;
  if (effects.text) showReplyText(effects.text->field, effects.text->text);
  if (effects.lamps) {
    const LampPair pair = effects.lamps->pair;
    if (doubtful) {  // neither state: no direction is written from it
      panel_.setLamp(pair.first, kGreen);
      panel_.setLamp(pair.second, kGreen);
    } else if (effects.lamps->firstLit) {
      applyLamps(pair.first, pair.second);
    } else {
      applyLamps(pair.second, pair.first);
    }
  }
  if (doubtful) return;
  if (position >= 0) {
    if (auto value = ShownValue(effects)) known_[position] = std::move(*value);
  }
  if (replyWatch_) replyWatch_(awaitedKind_, reply, effects, repaired);
}

void Form1::unmark(int field) {
  if (std::erase(marked_, field) > 0) panel_.setHighlighted(fieldName(field), false);
}

void Form1::showReplyText(int field, const std::string& text) {
  const std::string name = fieldName(field);
  const auto guard = readGuard_.find(field);
  if (guard != readGuard_.end() && panel_.text(name) != guard->second) {
    // Typed into since the read began: what the owner typed stays, marked, and is told.
    if (std::ranges::count(keptTyped_, field) == 0) keptTyped_.push_back(field);
    if (std::ranges::count(marked_, field) == 0) marked_.push_back(field);
    panel_.setHighlighted(name, true);
    return;
  }
  panel_.setText(name, text);
  unmark(field);
  if (guard != readGuard_.end()) guard->second = text;
}

}  // namespace korvane
