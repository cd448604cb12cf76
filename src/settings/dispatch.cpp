#include "settings/dispatch.h"

#include "protocol/utf8.h"
#include "settings/number_conversions.h"

namespace korvane {

std::optional<std::string> SignInverted(std::string_view value) {
  if (value.empty()) return std::nullopt;
  if (value.front() == '-') return "+" + std::string(value.substr(1));
  if (value.front() == '+') return "-" + std::string(value.substr(1));
  return std::nullopt;
}

namespace {

// A lamp reply of 1 or more lights the first lamp; so does anything that is not a number, as the
// controller only ever answers digits.
bool firstLampLit(std::string_view reply) {
  const auto value = WholeNumber(reply);
  return !value || *value > 0;
}

// The whole number the reply ends in, without leading zeros: channels 1 to 9 read as the reply's
// last character, as they always did, and channel 10 keeps its first digit.
std::string_view trailingNumber(std::string_view reply) {
  std::size_t start = reply.find_last_not_of("0123456789") + 1;  // npos + 1 is 0
  if (start == reply.size()) return LastUtf8Character(reply);
  while (start + 1 < reply.size() && reply[start] == '0') ++start;
  return reply.substr(start);
}

}  // namespace

std::optional<std::string> ShownValue(const ReplyEffects& effects) {
  if (effects.lamps) return effects.lamps->firstLit ? "1" : "0";
  if (effects.text) return effects.text->text;
  return std::nullopt;
}

ReplyEffects DispatchReply(int replyKind, std::string_view reply) {
  ReplyEffects effects;
  const Setting* setting = settingByKind(replyKind);
  if (setting == nullptr) return effects;

  auto showAsIs = [&] {
    effects.text = ReplyEffects::TextEffect{setting->field, std::string(reply)};
  };
  auto showLamps = [&] {
    effects.lamps = ReplyEffects::LampEffect{setting->lamps, firstLampLit(reply)};
  };

  switch (setting->handling) {
    case ReplyHandling::AsIs:
      showAsIs();
      break;
    case ReplyHandling::RangeChecked:
      if (LeadingNumber(reply) <= setting->replyLimit) showAsIs();
      break;
    case ReplyHandling::SignInverted:
      if (auto text = SignInverted(reply)) {
        effects.text = ReplyEffects::TextEffect{setting->field, std::move(*text)};
      }
      break;
    case ReplyHandling::TrailingNumber:
      effects.text = ReplyEffects::TextEffect{setting->field, std::string(trailingNumber(reply))};
      break;
    case ReplyHandling::AsIsThenLamps:
      showAsIs();
      showLamps();
      break;
    case ReplyHandling::LampsOnly:
      showLamps();
      break;
  }
  return effects;
}

}  // namespace korvane
