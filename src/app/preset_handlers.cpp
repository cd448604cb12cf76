// "手動計算", the preset list and "USERﾌﾟﾘｾｯﾄ保存".

#include <optional>
#include <variant>

#include "app/conversation.h"
#include "app/form1.h"
#include "backup/backup_keys.h"
#include "presets/gear_calculator.h"
#include "protocol/catalogue.h"
#include "protocol/command_set.h"
#include "protocol/controls.h"
#include "protocol/presets.h"

namespace korvane {

namespace {
constexpr const char* kSaveQuestion = "USER 設定を保存しますか？";
constexpr const char* kSaveTitle = "プリセット保存";
constexpr const char* kNoUserPresetText =
    "保存された USER 設定がありません（SetData.txt がないか、読めません）。\n"
    "「USERﾌﾟﾘｾｯﾄ保存」で保存してから選んでください。何も送っていません。";
constexpr std::size_t kStepSetButtons = 5;  // SET 0..4: MaxRate and the four step parameters
constexpr const char* kUnknownDirectionText =
    "の回転方向が分からないため、方向は書き込んでいません。\n"
    "方向のボタンで選ぶか「接続」で読み込んでから、もう一度「手動計算」を押してください。";
}  // namespace

void Form1::Command19_Click() {
  GearInputs inputs;
  for (std::size_t i = 0; i < kGearFields.size(); ++i) inputs[i] = panel_.text(kGearFields[i]);
  const auto result = Calc_Gear(inputs);
  if (const auto* failure = std::get_if<GearCheckFailure>(&result)) {
    if (!failure->field.empty()) panel_.setHighlighted(failure->field, true);
    operator_.message(failure->message, "", MessageStyle::Ok);
    if (!failure->field.empty()) panel_.setHighlighted(failure->field, false);
    return;
  }
  const auto& outputs = std::get<GearResults>(result);
  for (std::size_t i = 0; i < outputs.size(); ++i) panel_.setText(kGearOutputFields[i], outputs[i]);

  if (!port_.isOpen()) return;
  converse([this] {
    panel_.setEnabled(kForm1, false);
    panel_.showBusy(true);
    panel_.setEnabled(kCommand19, false);
    // A direction nobody has read or chosen (both lamps green after "接続", both teal after
    // "切断") is unknown, not minus: guessing would reverse a motor. Its slot passes unused.
    const std::optional<bool> raPlus = knownDirection(kRaDirection);
    const std::optional<bool> decPlus = knownDirection(kDecDirection);
    // Each write that did not reach the controller (the line failed, the window closed) is named
    // at the end; the journal has the lines of those that did.
    std::vector<std::size_t> notWritten;
    const auto direction = [&](bool plus, int kind) {
      const auto position = static_cast<std::size_t>(backupPositionOfKind(kind));
      if (WriteSetting(position, plus ? "1" : "0").status == SettingWrite::Status::NotSent)
        notWritten.push_back(position);
    };
    if (raPlus) direction(*raPlus, kRaDirectionKind);
    Wait(kCalculatorWaitMs);
    if (decPlus) direction(*decPlus, kDecDirectionKind);
    for (const SetRow& row : std::span(kSetRows).first<kStepSetButtons>()) {
      Wait(kCalculatorWaitMs);
      if (setButton(row).status == SettingWrite::Status::NotSent)
        notWritten.push_back(backupPositionOfRow(row));
    }
    panel_.setEnabled(kCommand19, true);
    panel_.showBusy(false);
    panel_.setEnabled(kForm1, true);
    tellNotWritten(notWritten);
    if (ending_) return;
    if (const std::string axes = UnknownAxes(raPlus, decPlus); !axes.empty()) {
      operator_.message(axes + kUnknownDirectionText, "", MessageStyle::Ok);
    }
  });
}

std::optional<bool> Form1::knownDirection(const DirectionButtons& axis) const {
  if (panel_.lamp(axis.plusLamp()) == kMagenta) return true;
  if (panel_.lamp(axis.minus.lamps.first) == kMagenta) return false;
  return std::nullopt;
}

void Form1::Combo2_Click() {
  // The preset's writes would run inside the conversation in progress.
  if (DecidePress(PressKind::Calculation, port_.isOpen(), conversing_) == PressAction::RefuseBusy) {
    panel_.setText(kCombo2, presetShown_);  // the box names the table the window holds
    operator_.message(kBusyText, "", MessageStyle::Ok);
    return;
  }
  const std::string name = panel_.text(kCombo2);
  presetShown_ = name;
  if (name == kUserPreset) {
    // The operator asked for the saved preset: without one, the table on the screen is no
    // stand-in for it, and nothing is computed or sent.
    if (!Load_Set()) {
      operator_.message(kNoUserPresetText, kSaveTitle, MessageStyle::Ok);
      return;
    }
  } else if (const MountPreset* preset = Find_Preset(name)) {
    for (std::size_t i = 0; i < kGearFields.size(); ++i) {
      panel_.setText(kGearFields[i], preset->fields[i]);
    }
    Operation_Click(kRaDirection.of(preset->raPlus).button);
    Operation_Click(kDecDirection.of(preset->decPlus).button);
  }
  Command19_Click();
}

std::string UnknownAxes(std::optional<bool> raPlus, std::optional<bool> decPlus) {
  if (raPlus && decPlus) return {};
  return !raPlus && !decPlus ? "赤経と赤緯" : !raPlus ? "赤経" : "赤緯";
}

void Form1::Command28_Click() {
  if (operator_.message(kSaveQuestion, kSaveTitle, MessageStyle::OkCancel) == MessageButton::Ok) {
    Save_Set();
  }
}

}  // namespace korvane
