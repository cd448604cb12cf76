#pragma once
// One conversation with the controller at a time. A reply does not say which query it answers:
// the receive handler files it under the kind set last. So while one sequence of queries runs (a
// read, a switch with its read-back, the calculator's writes, a backup), a press that would set
// another kind or send another query waits for its turn or is refused; commands that get no
// answer (motion, speeds, the clock) go out at once, as they always have.

namespace korvane {

enum class PressKind {
  Local,        // only the window and the files: 切断, "USERﾌﾟﾘｾｯﾄ保存"
  Connect,      // "接続": opens the port itself, then reads everything
  Query,        // a read button, an option switch, the polar home position: queries and answers
  Write,        // a SET button: a write whose answer lands out of sight
  Calculation,  // "手動計算" and a preset pick: with the port open, five writes in a row
  Command,      // commands without an answer: motion, tracking, speeds, clock, WiFi mode
  LampCommand,  // the direction and limit buttons: a command, and lamps that are also the record
};

enum class PressAction {
  Run,
  Queue,               // runs once the conversation in progress has ended, in the order pressed
  RefuseBusy,          // the operator is told the controller is busy; nothing happens
  RefuseNotConnected,  // the operator is told to press "接続" first; nothing happens
  RunNotConnected,     // the operator is told, and the lamps still move (nothing can be sent)
};

constexpr PressAction DecidePress(PressKind kind, bool portOpen, bool conversing) {
  switch (kind) {
    case PressKind::Local:
      return PressAction::Run;
    case PressKind::Connect:
      return conversing ? PressAction::Queue : PressAction::Run;
    case PressKind::Query:
      if (!portOpen) return PressAction::RefuseNotConnected;
      return conversing ? PressAction::Queue : PressAction::Run;
    case PressKind::Write:
      // Not queued: a read running now may still overwrite the field, and the queued write would
      // then send the controller's old value instead of what the operator typed.
      if (!portOpen) return PressAction::RefuseNotConnected;
      return conversing ? PressAction::RefuseBusy : PressAction::Run;
    case PressKind::Calculation:
      // With the port closed it only computes, and nothing goes on the line.
      return portOpen && conversing ? PressAction::RefuseBusy : PressAction::Run;
    case PressKind::Command:
      return portOpen ? PressAction::Run : PressAction::RefuseNotConnected;
    case PressKind::LampCommand:
      return portOpen ? PressAction::Run : PressAction::RunNotConnected;
  }
  return PressAction::Run;
}

inline constexpr const char* kNotConnectedText =
    "ポートが開いていません。先に「接続」を押してください。";
inline constexpr const char* kBusyText =
    "コントローラーと通信中です。終わってから、もう一度押してください。";
// The line failed while open (a hang-up, an unplugged adapter): told once, however it is found.
inline constexpr const char* kPortLostText =
    "コントローラーとの通信が切れました。\n"
    "ケーブルとコントローラーの電源を確かめてから、もう一度「接続」を押してください。";
// The same where there is no window: the program is run again.
inline constexpr const char* kPortLostConsoleText =
    "コントローラーとの通信が切れました。\n"
    "ケーブルとコントローラーの電源を確かめてから、もう一度実行してください。";

}  // namespace korvane
