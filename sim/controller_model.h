// The mount controller as the tool sees it from the other end of the serial line: a byte stream in,
// answers out. No I/O and no clock of its own; the caller passes the time of every receive.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::sim {

// Time since an arbitrary start (the simulator uses its own start).
using Millis = std::chrono::milliseconds;

enum class TrackingRate { kSidereal, kLunar, kSolar, kHalfSidereal };
enum class ManualSpeed { kGuide, kFine, kCoarse, kSlew };
enum class WifiMode { kAccessPoint, kStation };

// Everything the controller keeps. Parameters are held as the text received, which is also the
// text the matching query answers.
struct ControllerState {
  std::string maxRate = "400";
  std::string raStepsPerDegree = "2133";
  std::string decStepsPerDegree = "2133";
  std::string raWormSteps = "5333";
  std::string decWormSteps = "5333";
  std::string longitude = "-139*44";  // west positive: Japan is negative here
  std::string latitude = "+35*40";
  std::string utcOffset = "-09";  // hours to add to local time to get UTC
  std::string backlashRa = "010";
  std::string backlashDec = "010";
  std::string meridianWest = "15";
  std::string meridianEast = "15";
  std::string zenithLimit = "85*00";
  std::string horizonLimit = "10*00";
  std::string homeAltitude = "45*00";
  std::string homeAzimuth = "180*00";
  std::string wifiChannel = "6";
  std::string apSsid = "KORVANE-AP";
  std::string apPassword = "12345678";
  std::string stationSsid = "HomeNet";
  std::string stationPassword = "stargazer";

  bool raPlus = true;
  bool decPlus = false;
  bool limitStop = true;
  bool driveOn = true;
  bool gotoMeridianFlip = true;
  bool siderealMeridianFlip = false;
  bool pauseAtMeridian = false;
  bool buzzer = true;

  TrackingRate trackingRate = TrackingRate::kSidereal;
  int trimSteps = 0;  // units of 0.02 Hz, back to 0 whenever a tracking rate is chosen
  ManualSpeed speed = ManualSpeed::kSlew;
  bool speedPrefixPending = false;  // ":=SD#" seen, waiting for the speed command
  WifiMode wifiSelected = WifiMode::kAccessPoint;
  WifiMode wifiActive = WifiMode::kAccessPoint;
  int wifiApplyCount = 0;
  int gpsRequests = 0;
  int rejectionNotices = 0;

  // The controller's clock: the civil date and time it was set to, and when that was.
  std::chrono::sys_seconds clockSetTo =
      std::chrono::sys_days{std::chrono::year{2025} / 11 / 3} + std::chrono::hours{20};
  Millis clockSetAt{0};
};

// One complete command out of the stream and what it did.
struct Exchange {
  std::string command;  // exactly as received, from ":" to "#"
  std::string reply;    // the answer with its "#"; empty when the command gets none
  bool known = false;
  bool twoState = false;  // the answer is one of a lamp pair's states, "1#" or "0#"
};

class ControllerModel {
 public:
  // Longest command text kept; anything longer is dropped as noise.
  static constexpr std::size_t kMaxCommandLength = 128;

  ControllerModel() = default;
  explicit ControllerModel(ControllerState initial) : state_(std::move(initial)) {}

  // Takes the next received bytes; returns every command completed by them, in order.
  std::vector<Exchange> receive(std::string_view bytes, Millis now);
  // Forgets a half-received command (the line was closed).
  void resetLine() {
    partial_.clear();
    inCommand_ = false;
  }

  const ControllerState& state() const { return state_; }
  std::uint64_t unknownCommands() const { return unknown_; }
  // The controller's clock at the given time.
  std::chrono::sys_seconds clock(Millis now) const;

 private:
  Exchange execute(std::string command, Millis now);
  bool setClock(std::string_view value, bool date, Millis now);

  ControllerState state_;
  std::string partial_;
  bool inCommand_ = false;
  std::uint64_t unknown_ = 0;
};

// The answers of a list of exchanges, back to back.
std::string joinReplies(const std::vector<Exchange>& exchanges);

}  // namespace korvane::sim
