#pragma once
// What one reply does to the window, decided without the window.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/catalogue.h"

namespace korvane {

struct ReplyEffects {
  struct TextEffect {
    int field;  // Text1 index or kCombo3Index
    std::string text;
  };
  struct LampEffect {
    LampPair pair;
    bool firstLit;  // true: first magenta, second teal; false: the reverse
  };
  std::optional<TextEffect> text;   // applied first
  std::optional<LampEffect> lamps;  // then this
};

// The window shows longitude and UTC offset with the controller's sign turned round, both ways:
// "-139*44" is "+139*44". Nothing for a value without a sign.
std::optional<std::string> SignInverted(std::string_view value);

// The reply is the text before its "#". Nothing at all when the reply is dropped.
ReplyEffects DispatchReply(int replyKind, std::string_view reply);

// The value the window shows for a setting after a reply: a lamp pair as "1" (first lamp lit) or
// "0", or the field's text. Nothing when the reply was dropped.
std::optional<std::string> ShownValue(const ReplyEffects& effects);

}  // namespace korvane
