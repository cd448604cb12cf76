#pragma once
// Every event handler of the main window and of the hidden port form, written against the seams.
// The handlers live in one file per subsystem; the decisions they need are pure functions in the
// folders below. This class holds the little state the tool has besides the window's own
// controls: ReplyKind and the receive buffer.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/port_search.h"
#include "app/seams.h"
#include "protocol/command_set.h"
#include "settings/receive_buffer.h"

namespace korvane {

struct BackupComparison;
class CompareTable;
struct DirectionButtons;
struct BackupFile;
struct BackupReading;
struct BackupSaveResult;
struct JournalEntry;
struct KeptAnswers;
struct ReplyEffects;
struct RestoreReport;
struct SetRow;
struct Setting;

// What became of one write of a setting (Form1::WriteSetting).
struct SettingWrite {
  enum class Status {
    Written,   // the command went to the line, and the journal has its line
    NotSent,   // the port was closed or the line failed: nothing went out, nothing is recorded
    Rejected,  // the value is outside the row's range: the rejection notice went out instead
    Refused,   // the value cannot be written at all; `refusal` says why, nothing went out
    Nothing,   // the value gives no command (an empty field)
  };
  Status status = Status::Nothing;
  std::string sent;                     // the value written, in the window's form
  std::optional<std::string> readBack;  // when asked for: what the controller then reported
  std::string refusal;
};

// The axes whose direction is unknown, for a message ("赤経", "赤経と赤緯"); empty when none.
std::string UnknownAxes(std::optional<bool> raPlus, std::optional<bool> decPlus);

// How a press of a control is named to the operator: "自動導入時　ブザー音 OFF", "接続".
std::string PressName(std::string_view control);

// Told after each setting a backup read has asked for: how many of how many; false stops the read.
using BackupProgress = std::function<bool(int done, int total)>;

class Form1 : public WindowEvents {
 public:
  Form1(Panel& panel, Port& port, EventLoop& loop, Operator& op, std::filesystem::path folder);

  // --- start-up and the port (app/port_connection.cpp)
  void Form_Load();
  void Form_Unload() override;  // port closed, waits end, nothing more is written
  void Combo1_LostFocus() override;
  void Command12_Click();  // "切断"
  void Load_param();
  void Save_param();
  void COMM1open();
  void COMM1close();
  // The port went away under us (unplugged, far end hung up): the adapter has closed it.
  void Port_Lost();
  // The ports the system has now, ascending (the shell's; none known until set). Form_Load adds
  // those above the list's own to the port box.
  void setPortsPresent(std::function<std::vector<int>()> present);

  // --- finding the controller's port (app/port_search.h), from the "通信" menu
  // Searches every port there is, on the window's own port while it is closed (a port open
  // already answers the question; nothing happens then), as the one conversation with the
  // controllers: the port's events are the search's meanwhile. The port found is selected;
  // the operator is told what each port gave. deviceText(n) is port n's tooltip text.
  void Find_Controller(PortEvents& events, const std::function<std::string(int)>& deviceText,
                       const FindProgress& progress);

  // --- the command channel (app/command_channel.cpp)
  // True when the command went to the line.
  bool SendCommand(std::string_view command);
  void Wait(double ms);

  // --- reception; event code 2 is "data received"
  static constexpr int kReceiveEvent = 2;
  static constexpr std::size_t kRecvBufLimit = ReceiveBuffer::kLimit;
  void MSComm1_OnComm(int eventCode, std::string_view bytes);

  // --- reading, writing, option switches
  void Command11_Click();                       // "接続": open and read everything
  void Command5_Click(const Setting& setting);  // the read button of the setting
  void Command6_Click(const SetRow& row);       // the SET button of the row
  void OptionSwitch_Click(int button);          // Command13..18, 20, 21
  void Command29_Click();                       // polar home position

  // --- operating buttons
  void Operation_Click(int button);  // Command1..4, 7..10, 22..27, 30..33, 37
  void Command34_Click();            // date and time "Set"
  void Command35_Click();            // "APモード"
  void Command36_Click();            // "STモード"

  // --- presets, calculator, settings file
  void Command19_Click();        // "手動計算"
  void Combo2_Click() override;  // a pick from the preset list
  void Command28_Click();        // "USERﾌﾟﾘｾｯﾄ保存"
  bool Load_Set();               // false when there is no whole preset to load
  void Save_Set();

  // --- backup and restore of every setting (backup/backup_sequences.h has the results)
  // False, after telling the operator that "接続" comes first, when the port is not open: the
  // menu's backup entries ask before they show a file dialog.
  bool Backup_Ready();
  BackupReading Backup_Read(const BackupProgress& progress);
  // The file's header names this program's version and portName().
  BackupSaveResult Backup_Save(const std::filesystem::path& file, const BackupProgress& progress);
  BackupComparison Backup_Compare(const std::filesystem::path& file,
                                  const BackupProgress& progress);
  RestoreReport Backup_Restore(const BackupFile& file, std::span<const std::size_t> positions);
  // The restore of a comparison's chosen settings. One that would change the mount's mechanics
  // (MechanicsChanges) asks the operator first, naming the values and both mounts, unless
  // `mechanicsAccepted`; Cancel writes nothing.
  RestoreReport Backup_Restore(const BackupComparison& comparison,
                               std::span<const std::size_t> positions,
                               bool mechanicsAccepted = false);

  // --- the menu's entries (app/menu_flows.cpp), for every shell: the file asked for, the read
  // under a progress window, the result told. A comparison read comes back as its table, for the
  // shell to show; nothing when the operator cancelled or has been told why there is none.
  void Menu_Backup(FileChooser& files, Progress& progress);
  std::unique_ptr<CompareTable> Menu_Compare(FileChooser& files, Progress& progress);
  void Menu_Find(Progress& progress, PortEvents& events,
                 const std::function<std::string(int)>& deviceText);
  // --- the one way a setting the controller keeps is written (app/writing.cpp)
  // Every writer (a SET button, an option switch, a direction or limit button, the calculator, a
  // preset pick, a restore, an undo) hands the setting, by backup position, and its value in the
  // window's form, as a backup file holds it. The wire form is made here once (the sign turned
  // back, three digits, the leading number); the journal gets its line, with the value before,
  // the value sent and the read-back all in the window's form, only when the command went to the
  // line, and only then does the window's idea of the controller's value change. With `readBack`,
  // the setting is queried `afterWrite` ms after the write and given `afterQuery` ms to answer.
  struct ReadBack {
    double afterWrite, afterQuery;
  };
  SettingWrite WriteSetting(std::size_t position, std::string_view value,
                            std::optional<ReadBack> readBack = std::nullopt);
  // The port as the journal names it: "COMn", or the device a backup mode was told to open.
  std::string portName() const;
  void setPortName(std::string device) { portName_ = std::move(device); }

  // --- the journal of settings written (files/journal.h; app/journal_handlers.cpp)
  // Writes the entry's value before back as a restore of that one setting writes it (its SET
  // button's refusal rules, the same pacing, the read-back), which journals the undo in turn; an
  // entry whose value before is unknown, or whose setting cannot be written, is refused with the
  // reason in the report's summary. The controller's value is read first: when the entry was
  // written on another port, or the controller no longer holds what the entry wrote, the
  // operator is asked first, with both named; Cancel writes nothing.
  RestoreReport Journal_Undo(const JournalEntry& entry);

  // State, for the shell and the tests.
  std::int16_t ReplyKind() const { return replyKind_; }
  const std::string& RecvBuf() const { return recvBuf_.text(); }
  bool ending() const { return ending_; }
  // What the window last knew of a setting the controller keeps, by backup position: read from it
  // or written to it, in the window's form; kUnknownBefore when neither.
  std::string knownValue(int position) const;
  // The mount's name (its access-point SSID) as the window last knew it; empty when unknown.
  std::string mountName() const;
  const std::filesystem::path& folder() const { return folder_; }
  Operator& op() const { return operator_; }

  // Presses a button of the window by its control name ("Command6(3)", "Command21"); a name that
  // is no button throws std::invalid_argument. The shell and the tests press buttons through this
  // one table, which also decides whether the press runs now, waits for the conversation in
  // progress, or is refused with a word to the operator.
  void Click(std::string_view control) override;

 private:
  void applyLamps(int first, int second);
  void showPort();
  void listPort(int number);  // in the port box's list, added when above the list's own
  // repaired: the reply was not UTF-8 and shows U+FFFD where its bytes were.
  void fileReply(const std::string& reply, bool repaired);
  void showReplyText(int field, const std::string& text);
  void unmark(int field);  // a field marked as keeping what the owner typed, no longer
  // true for plus, false for minus, nothing when neither lamp of the axis is lit.
  std::optional<bool> knownDirection(const DirectionButtons& axis) const;
  // Runs body as the one conversation with the controller, then the presses that waited for it.
  void converse(const std::function<void()>& body);
  void runQueued();
  // The presses waiting for their turn are not run: the operator is told which, and why.
  void dropQueued(std::string_view why, bool keepConnect = false);
  // reply: the answer as filed, without its "#" and the framing some firmware adds around it.
  using ReplyWatch = std::function<void(int replyKind, std::string_view reply,
                                        const ReplyEffects& effects, bool repaired)>;
  // The one read of settings: each query, then its 400 ms (the last one's too, for its answer
  // belongs to this read). `watch` sees every reply filed meanwhile, and only meanwhile;
  // `goOn(done)` is asked before each query and after the last wait, and stops the read when it
  // says no. Either may be empty.
  void readSettings(std::span<const Setting* const> settings, const ReplyWatch& watch,
                    const std::function<bool(std::size_t done)>& goOn,
                    double waitMs = kReadAllWaitMs);
  KeptAnswers readKept(std::span<const std::size_t> positions, const BackupProgress& progress);
  void restoreChosen(const BackupFile& file, RestoreReport& report);
  // The journal: what the window last knew of a setting (read or written), by backup position;
  // one entry per setting written; a journal that cannot be written told once per run, after the
  // conversation in progress.
  void journal(int position, const std::string& before, const std::string& sent,
               const std::string& readBack);
  void tellJournalTrouble();
  // The setting's query, then `afterQueryMs` for its answer: the value the window shows after it,
  // or nothing when no usable answer came.
  std::optional<std::string> readBackOne(std::size_t position, double afterQueryMs);
  // One query and its answer: the query, at least `pauseMs`, and then on while no answer has come,
  // up to `boundMs` after the query (longer while an answer is arriving piece by piece), so that a
  // controller a little slower than the pause still has each answer filed under its own query.
  // False when the query did not go out.
  bool ask(const Setting& setting, double pauseMs, double boundMs);
  // After a conversation: the settings answered late or not at all, the fields that kept what
  // the owner typed during a read, told once each.
  void tellReadNotes();
  // A SET button's write of its field, a refusal told; for the button and the calculator.
  SettingWrite setButton(const SetRow& row);
  // "These settings were not written", naming them, unless the window is closing.
  void tellNotWritten(const std::vector<std::size_t>& positions);

  Panel& panel_;
  Port& port_;
  EventLoop& loop_;
  Operator& operator_;
  std::filesystem::path folder_;
  std::int16_t replyKind_ = 0;
  ReceiveBuffer recvBuf_;
  bool ending_ = false;
  bool portLostShown_ = false;
  bool conversing_ = false;
  bool runningQueued_ = false;
  std::vector<std::string> queued_;  // presses waiting for their turn, by control name
  ReplyWatch replyWatch_;            // set by readSettings for its own read only
  std::function<std::vector<int>()> portsPresent_;
  std::vector<int> listedBeyond_;  // ports above the list's own that the box lists too
  std::map<int, std::string> known_;
  // The one query waiting for its answer (0: none; a reply then lands nowhere), whether it has its
  // answer, and how the last queries went: after one went unanswered the next answer may be its
  // late one, and is doubtful unless a second follows.
  int awaitedKind_ = 0;
  int repliesToAwaited_ = 0;
  bool afterMiss_ = false;
  int missedInARow_ = 0;
  bool answerTroubleTold_ = false;
  std::string lastCommand_;               // to tell an echo of it from an answer
  std::vector<std::size_t> lateAnswers_;  // by position, in this conversation
  std::vector<std::size_t> noAnswers_;
  // The fields a read fills, with the text each showed when the read began or the read last set:
  // a field that shows something else was typed into meanwhile, and the read leaves it alone.
  std::map<int, std::string> readGuard_;
  std::vector<int> keptTyped_;  // to tell
  std::vector<int> marked_;     // shown marked
  // Lamp settings the owner wrote (a direction, the limit) after their query went out: the
  // answer to that query is older than the owner's choice.
  std::vector<std::size_t> chosenSinceQuery_;
  bool journalFailing_ = false;  // the last append failed: told once, and once when one works
  std::string journalNotice_;    // to tell once the conversation in progress is over
  std::string portName_;         // the device a backup mode opened; empty: "COMn"
  std::string presetShown_;      // the preset the gear table was last filled from
};

}  // namespace korvane
