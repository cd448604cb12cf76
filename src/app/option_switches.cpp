// The ON/OFF option rows and the polar home position.

#include "app/form1.h"
#include "backup/backup_keys.h"
#include "files/journal.h"
#include "protocol/catalogue.h"
#include "protocol/command_set.h"
#include "protocol/controls.h"
#include "settings/dispatch.h"

namespace korvane {

namespace {
constexpr const char* kPolarHomeSent = "（今の向き）";  // what the polar home position writes
}  // namespace

void Form1::OptionSwitch_Click(int button) {
  const auto row = std::ranges::find_if(kOptionRows, [button](const OptionRow& r) {
    return r.onButton == button || r.offButton == button;
  });
  if (row == kOptionRows.end()) return;
  converse([&] {
    const auto position = static_cast<std::size_t>(backupPositionOfKind(row->replyKind));
    const SettingWrite write = WriteSetting(position, button == row->onButton ? "1" : "0",
                                            ReadBack{kOptionWaitMs, kOptionWaitMs});
    if (write.status == SettingWrite::Status::NotSent) tellNotWritten({position});
  });
}

void Form1::Command29_Click() {
  converse([this] {
    panel_.setEnabled(command6(kHomeAltitudeSet), false);
    panel_.setEnabled(command6(kHomeAzimuthSet), false);
    // The home position becomes where the mount points: journaled as that, with what the
    // controller reads back for each of its two settings.
    const int positions[] = {backupPositionOfKind(kHomeAltitudeKind),
                             backupPositionOfKind(kHomeAzimuthKind)};
    const std::string before[] = {knownValue(positions[0]), knownValue(positions[1])};
    std::string readBack[] = {std::string(kNotReadBack), std::string(kNotReadBack)};
    replyWatch_ = [&](int kind, std::string_view, const ReplyEffects& effects, bool) {
      if (auto value = ShownValue(effects)) {
        if (kind == kHomeAltitudeKind) readBack[0] = *value;
        if (kind == kHomeAzimuthKind) readBack[1] = *value;
      }
    };
    const bool moved = SendCommand(kPolarHome);
    Wait(kPolarHomeWaitsMs[0]);
    // ":G2#" no sooner than 200 ms after ":G1#", and not before its answer (or its bound).
    ask(*settingByKind(kHomeAltitudeKind), kPolarHomeWaitsMs[1], kAnswerBoundMs);
    ask(*settingByKind(kHomeAzimuthKind), kPolarHomeWaitsMs[2], kPolarHomeWaitsMs[2]);
    replyWatch_ = nullptr;
    if (moved) {
      for (int i : {0, 1}) journal(positions[i], before[i], kPolarHomeSent, readBack[i]);
    }
    panel_.setEnabled(command6(kHomeAltitudeSet), true);
    panel_.setEnabled(command6(kHomeAzimuthSet), true);
  });
}

}  // namespace korvane
