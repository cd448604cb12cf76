// "接続" and the read buttons, and the rule every query follows: each answer is filed under the
// query that waits for it, late or not.

#include <algorithm>

#include "app/form1.h"
#include "backup/backup_keys.h"
#include "protocol/catalogue.h"
#include "protocol/command_set.h"
#include "protocol/controls.h"

namespace korvane {

void Form1::Command11_Click() {
  converse([this] {
    COMM1open();        // tells the operator itself when no port opens; nothing is read then
    missedInARow_ = 0;  // a controller connected anew is given its time again
    answerTroubleTold_ = false;
    for (int shape = 1; shape <= 4; ++shape) panel_.setLamp(shape, kGreen);
    readSettings(readAllSequence(), nullptr, nullptr);
  });
}

void Form1::readSettings(std::span<const Setting* const> settings, const ReplyWatch& watch,
                         const std::function<bool(std::size_t done)>& goOn, double waitMs) {
  replyWatch_ = watch;
  for (const Setting* s : settings) {
    if (s->field != kNoField) readGuard_[s->field] = panel_.text(fieldName(s->field));
  }
  for (std::size_t done = 0; !goOn || goOn(done); ++done) {
    // A read whose port has closed (切断, another port, a pulled cable) ends at once.
    if (done == settings.size() || ending_ || !port_.isOpen()) break;
    ask(*settings[done], waitMs, std::max(waitMs, kAnswerBoundMs));
  }
  readGuard_.clear();
  replyWatch_ = nullptr;
}

bool Form1::ask(const Setting& setting, double pauseMs, double boundMs) {
  const int position = backupPositionOfKind(setting.replyKind);
  std::erase(chosenSinceQuery_, static_cast<std::size_t>(position));
  replyKind_ = static_cast<std::int16_t>(setting.replyKind);
  awaitedKind_ = setting.replyKind;
  repliesToAwaited_ = 0;
  if (!SendCommand(setting.query)) {
    awaitedKind_ = 0;
    return false;
  }
  Wait(pauseMs);
  // Two queries in a row without an answer: the controller is taken as silent, and the rest get
  // only their pause, so that a dead line costs no more than the read always did.
  const bool silent = missedInARow_ >= 2;
  double waited = pauseMs;
  // A short piece of an answer in the buffer: the rest is on its way, byte by byte.
  const auto bound = [&] {
    const std::string& text = recvBuf_.text();  // a line end left after the last "#" is none
    const std::size_t held = text.find_first_not_of("\r\n") == std::string::npos ? 0 : text.size();
    return held > 0 && held <= kLongestAnswer ? kPieceByPieceBoundMs : boundMs;
  };
  while (repliesToAwaited_ == 0 && !silent && !ending_ && port_.isOpen() && waited < bound()) {
    Wait(kAnswerStepMs);
    waited += kAnswerStepMs;
  }
  const bool answered = repliesToAwaited_ > 0;
  if (position >= 0 && !answered) noAnswers_.push_back(static_cast<std::size_t>(position));
  // Late: after the pause a read of everything gives each answer (a shorter pause, as between the
  // polar home's two queries, is only spacing).
  if (position >= 0 && answered && waited > std::max(pauseMs, kReadAllWaitMs))
    lateAnswers_.push_back(static_cast<std::size_t>(position));
  // Kept from one conversation to the next: a silent controller stays silent until it answers.
  missedInARow_ = answered ? 0 : missedInARow_ + 1;
  afterMiss_ = !answered;
  awaitedKind_ = 0;
  return true;
}

void Form1::tellReadNotes() {
  const auto names = [](const std::vector<std::size_t>& positions) {
    std::string text;
    for (std::size_t position : positions) text += "\n・" + backupSettingName(position);
    return text;
  };
  if ((!noAnswers_.empty() || !lateAnswers_.empty()) && answerTroubleTold_) {
    lateAnswers_.clear();
    noAnswers_.clear();
  }
  if (!noAnswers_.empty() || !lateAnswers_.empty()) {
    answerTroubleTold_ = true;  // once a connection: the next "接続" may tell again
    std::string text = "コントローラーの答えが遅れたか、ありませんでした。";
    if (!lateAnswers_.empty()) {
      text += "\n\n答えが " + std::to_string(int(kReadAllWaitMs)) +
              " ms より遅れた設定（それぞれの欄に入れました）:" + names(lateAnswers_);
    }
    if (!noAnswers_.empty()) {
      text +=
          "\n\n答えがなかった設定（欄は前のままです。すぐ後の設定の答えは遅れた答えかも"
          "しれないため、その回転方向やランプは読み込んでいません）:" +
          names(noAnswers_);
    }
    lateAnswers_.clear();
    noAnswers_.clear();
    if (!ending_) operator_.message(text, "", MessageStyle::Ok);
  }
  if (!keptTyped_.empty()) {
    std::string text =
        "読み込みの間に入力された次の欄は、入力した値のままにしました（コントローラーの値は"
        "表示していません）。その値を書き込むには「SET」を、コントローラーの値を見るには読み込みを"
        "もう一度押してください。";
    for (int field : keptTyped_) text += "\n・" + std::string(fieldCaption(field));
    keptTyped_.clear();
    if (!ending_) operator_.message(text, "", MessageStyle::Ok);
  }
}

void Form1::Command5_Click(const Setting& setting) {
  converse([this, &setting] {
    const Setting* const one[] = {&setting};
    readSettings(one, nullptr, nullptr);
  });
}

}  // namespace korvane
