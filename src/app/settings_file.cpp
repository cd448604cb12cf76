// Load_Set and Save_Set: the USER preset in "SetData.txt".

#include "app/form1.h"
#include "files/local_file.h"
#include "files/set_data.h"
#include "protocol/command_set.h"
#include "protocol/presets.h"
#include "protocol/utf8.h"
#include "settings/number_conversions.h"

namespace korvane {

namespace {
constexpr const char* kSetDataFileName = "SetData.txt";
constexpr const char* kSavedText = "保存しました。";
constexpr const char* kSaveFailedTitle = "保存エラー";
constexpr const char* kSaveFailedText =
    "USER 設定を保存できませんでした。以前の設定ファイルはそのまま残っています。\n"
    "保存先のフォルダーとディスクの空きを確かめてください。\n";
constexpr std::size_t kRaField = 9, kDecField = 10;
constexpr const char* kUnknownDirectionSaveText =
    "の回転方向が分からないため、USER 設定を保存していません。以前の設定ファイルはそのまま"
    "残っています。\n方向のボタンで選ぶか「接続」で読み込んでから、もう一度保存してください。";
}  // namespace

void Form1::Save_Set() {
  SetDataFields fields;
  for (std::size_t i = 0; i < kGearFields.size(); ++i) {
    fields[i] = panel_.text(kGearFields[i]);
    // The file's fields are quoted, with no escape for a quote: saved, `1",2` would shift every
    // later field by one when read. Files of earlier versions must still read, so refuse.
    if (fields[i].find('"') != std::string::npos) {
      operator_.message("「" + std::string(kGearFieldNames[i]) + "」に「\"」があるため、" +
                            "USER 設定を保存できません。以前の設定ファイルはそのまま残っています。",
                        kSaveFailedTitle, MessageStyle::Critical);
      return;
    }
  }
  // A direction nobody read or chose (both lamps green or teal) is not saved as minus: the USER
  // pick would then reverse that motor. The file has no word for "unknown", so nothing is saved.
  const std::optional<bool> raPlus = knownDirection(kRaDirection);
  const std::optional<bool> decPlus = knownDirection(kDecDirection);
  if (const std::string axes = UnknownAxes(raPlus, decPlus); !axes.empty()) {
    operator_.message(axes + kUnknownDirectionSaveText, kSaveFailedTitle, MessageStyle::Critical);
    return;
  }
  fields[kRaField] = *raPlus ? "1" : "0";
  fields[kDecField] = *decPlus ? "1" : "0";
  const std::filesystem::path path = folder_ / kSetDataFileName;
  std::string error;
  if (!WriteLocalFile(path, Format_SetData(fields), &error)) {
    // Never confirm a save that did not happen: the operator would lose the preset unknowingly.
    operator_.message(std::string(kSaveFailedText) + PathUtf8(path) + "\n(" + error + ")",
                      kSaveFailedTitle, MessageStyle::Critical);
    return;
  }
  operator_.message(kSavedText, "", MessageStyle::Ok);
}

bool Form1::Load_Set() {
  const auto text = ReadLocalFile(folder_ / kSetDataFileName);
  if (!text) return false;
  const auto parsed = Parse_SetData(*text);
  if (!parsed) return false;  // a short file changes nothing
  for (std::size_t i = 0; i < kGearFields.size(); ++i) {
    panel_.setText(kGearFields[i], ValidUtf8((*parsed)[i]));
  }
  // A direction that is not a number stops the load there; what was set stays.
  for (const auto& [field, axis] :
       {std::pair{kRaField, kRaDirection}, {kDecField, kDecDirection}}) {
    const auto plus = WholeNumber((*parsed)[field]);
    if (!plus) return false;
    const LampPair lamps = axis.of(*plus > 0).lamps;
    applyLamps(lamps.first, lamps.second);
  }
  return true;
}

}  // namespace korvane
