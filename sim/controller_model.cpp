#include "sim/controller_model.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace korvane::sim {
namespace {

// A parameter: the query that reads it and the prefix that writes it (the value follows).
struct Parameter {
  std::string_view query;
  std::string_view writePrefix;
  std::string ControllerState::*value;
};

constexpr std::array kParameters = {
    Parameter{"GXE1", "$PA", &ControllerState::maxRate},
    Parameter{"GXE4", "$PB", &ControllerState::raStepsPerDegree},
    Parameter{"GXE5", "$PC", &ControllerState::decStepsPerDegree},
    Parameter{"GXE7", "$PD", &ControllerState::raWormSteps},
    Parameter{"GXEE", "$PE", &ControllerState::decWormSteps},
    Parameter{"Gg", "Sg", &ControllerState::longitude},
    Parameter{"Gt", "St", &ControllerState::latitude},
    Parameter{"GG", "SG", &ControllerState::utcOffset},
    Parameter{"%BR", "$BR", &ControllerState::backlashRa},
    Parameter{"%BD", "$BD", &ControllerState::backlashDec},
    Parameter{"GXEA", "SXEA,", &ControllerState::meridianWest},
    Parameter{"GXE9", "SXE9,", &ControllerState::meridianEast},
    Parameter{"Go", "So", &ControllerState::zenithLimit},
    Parameter{"Gh", "Sh", &ControllerState::horizonLimit},
    Parameter{"G1", "$PF", &ControllerState::homeAltitude},
    Parameter{"G2", "$PG", &ControllerState::homeAzimuth},
    Parameter{"GXEL", "$PH", &ControllerState::wifiChannel},
    Parameter{"GXEM", "Sm", &ControllerState::apSsid},
    Parameter{"GXEN", "Sn", &ControllerState::apPassword},
    Parameter{"GXES", "Sp", &ControllerState::stationSsid},
    Parameter{"GXET", "Sq", &ControllerState::stationPassword},
};

// A two-state setting: its query (empty: none), the commands that switch it on and off.
struct Switch {
  std::string_view query;
  std::string_view on;
  std::string_view off;
  bool ControllerState::*value;
};

constexpr std::array kSwitches = {
    Switch{"GXEF", "TA", "TB", &ControllerState::raPlus},
    Switch{"GXEG", "TC", "TD", &ControllerState::decPlus},
    Switch{"GXEH", "TV", "TW", &ControllerState::limitStop},
    Switch{"", "Te", "Td", &ControllerState::driveOn},
    Switch{"GXEI", "TX", "TY", &ControllerState::gotoMeridianFlip},
    Switch{"GX95", "SX95,1", "SX95,0", &ControllerState::siderealMeridianFlip},
    Switch{"GXEQ", "SX98,1", "SX98,0", &ControllerState::pauseAtMeridian},
    Switch{"GXEP", "SX97,1", "SX97,0", &ControllerState::buzzer},
};

// The polar home position: the visible celestial pole, due north (or south) at the latitude.
void movePolarHome(ControllerState& s) {
  std::string_view lat = s.latitude;
  const bool south = lat.starts_with('-');
  if (lat.starts_with('+') || south) lat.remove_prefix(1);
  s.homeAltitude = lat;
  s.homeAzimuth = south ? "180*00" : "0*00";
}

void chooseRate(ControllerState& s, TrackingRate rate) {
  s.trackingRate = rate;
  s.trimSteps = 0;
}

struct Operation {
  std::string_view command;
  void (*apply)(ControllerState&);
};

constexpr std::array kOperations = {
    Operation{"TQ", [](ControllerState& s) { chooseRate(s, TrackingRate::kSidereal); }},
    Operation{"TL", [](ControllerState& s) { chooseRate(s, TrackingRate::kLunar); }},
    Operation{"TS", [](ControllerState& s) { chooseRate(s, TrackingRate::kSolar); }},
    Operation{"T0", [](ControllerState& s) { chooseRate(s, TrackingRate::kHalfSidereal); }},
    Operation{"T+", [](ControllerState& s) { ++s.trimSteps; }},
    Operation{"T-", [](ControllerState& s) { --s.trimSteps; }},
    Operation{"=SD", [](ControllerState& s) { s.speedPrefixPending = true; }},
    Operation{"RG", [](ControllerState& s) { s.speed = ManualSpeed::kGuide; }},
    Operation{"RC", [](ControllerState& s) { s.speed = ManualSpeed::kFine; }},
    Operation{"RM", [](ControllerState& s) { s.speed = ManualSpeed::kCoarse; }},
    Operation{"RS", [](ControllerState& s) { s.speed = ManualSpeed::kSlew; }},
    Operation{"TJ", [](ControllerState& s) { ++s.gpsRequests; }},
    Operation{"TG", [](ControllerState& s) { s.wifiSelected = WifiMode::kAccessPoint; }},
    Operation{"TF", [](ControllerState& s) { s.wifiSelected = WifiMode::kStation; }},
    Operation{"=SE",
              [](ControllerState& s) {
                s.wifiActive = s.wifiSelected;
                ++s.wifiApplyCount;
              }},
    Operation{"TH", movePolarHome},
    // The tool sends this in place of a write it refused; it carries no value.
    Operation{"=SG", [](ControllerState& s) { ++s.rejectionNotices; }},
};

// Reads "NN<sep>NN<sep>NN" into three numbers; false for anything else.
bool readTriple(std::string_view text, char sep, std::array<int, 3>& out) {
  if (text.size() != 8 || text[2] != sep || text[5] != sep) return false;
  for (std::size_t i = 0; i < 3; ++i) {
    const char* first = text.data() + 3 * i;
    auto [end, ec] = std::from_chars(first, first + 2, out[i]);
    if (ec != std::errc{} || end != first + 2) return false;
  }
  return true;
}

}  // namespace

std::vector<Exchange> ControllerModel::receive(std::string_view bytes, Millis now) {
  std::vector<Exchange> done;
  for (char c : bytes) {
    if (!inCommand_) {
      // Noise between commands is skipped up to the next ":".
      if (c == ':') {
        inCommand_ = true;
        partial_ = ":";
      }
      continue;
    }
    // A ":" inside a command is data (the time ":SL09:05:03#"), so only "#" ends one.
    partial_ += c;
    if (c == '#') {
      inCommand_ = false;
      done.push_back(execute(std::move(partial_), now));
      partial_.clear();
    } else if (partial_.size() >= kMaxCommandLength) {
      ++unknown_;
      resetLine();
    }
  }
  return done;
}

Exchange ControllerModel::execute(std::string command, Millis now) {
  Exchange ex{std::move(command), {}, true};
  const std::string_view body = std::string_view(ex.command).substr(1, ex.command.size() - 2);

  // Exact commands first, so ":=SG#" and ":SX95,1#" are never read as a write with a value.
  for (const auto& op : kOperations) {
    if (body == op.command) {
      state_.speedPrefixPending = false;
      op.apply(state_);
      return ex;
    }
  }
  state_.speedPrefixPending = false;
  for (const auto& sw : kSwitches) {
    if (body == sw.on || body == sw.off) {
      state_.*sw.value = body == sw.on;
      return ex;
    }
    if (!sw.query.empty() && body == sw.query) {
      ex.reply = state_.*sw.value ? "1#" : "0#";
      ex.twoState = true;
      return ex;
    }
  }
  for (const auto& p : kParameters) {
    if (body == p.query) {
      ex.reply = state_.*p.value + "#";
      return ex;
    }
  }
  if (body == "GX81" || body == "GX80") {
    const auto at = clock(now);
    const auto day = std::chrono::floor<std::chrono::days>(at);
    const std::chrono::year_month_day ymd{day};
    const std::chrono::hh_mm_ss hms{at - day};
    char text[16];
    if (body == "GX81") {
      std::snprintf(text, sizeof text, "%02u/%02u/%02d#", unsigned(ymd.month()),
                    unsigned(ymd.day()), int(ymd.year()) % 100);
    } else {
      std::snprintf(text, sizeof text, "%02d:%02d:%02d#", int(hms.hours().count()),
                    int(hms.minutes().count()), int(hms.seconds().count()));
    }
    ex.reply = text;
    return ex;
  }
  for (const auto& p : kParameters) {
    if (body.starts_with(p.writePrefix)) {
      state_.*p.value = body.substr(p.writePrefix.size());
      return ex;
    }
  }
  if ((body.starts_with("SC") && setClock(body.substr(2), true, now)) ||
      (body.starts_with("SL") && setClock(body.substr(2), false, now))) {
    return ex;
  }
  ++unknown_;
  ex.known = false;
  return ex;
}

bool ControllerModel::setClock(std::string_view value, bool date, Millis now) {
  using namespace std::chrono;
  std::array<int, 3> n{};
  if (!readTriple(value, date ? '/' : ':', n)) return false;
  const auto at = clock(now);
  const auto day = floor<days>(at);
  if (date) {
    const year_month_day ymd{year{2000 + n[2]}, month(unsigned(n[0])),
                             std::chrono::day(unsigned(n[1]))};
    if (!ymd.ok()) return false;
    state_.clockSetTo = sys_days{ymd} + (at - day);
  } else {
    if (n[0] > 23 || n[1] > 59 || n[2] > 59) return false;
    state_.clockSetTo = day + hours{n[0]} + minutes{n[1]} + seconds{n[2]};
  }
  state_.clockSetAt = now;
  return true;
}

std::chrono::sys_seconds ControllerModel::clock(Millis now) const {
  return state_.clockSetTo + std::chrono::floor<std::chrono::seconds>(now - state_.clockSetAt);
}

std::string joinReplies(const std::vector<Exchange>& exchanges) {
  std::string out;
  for (const auto& ex : exchanges) out += ex.reply;
  return out;
}

}  // namespace korvane::sim
