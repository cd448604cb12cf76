#pragma once
// The command a SET button writes for its field's text, decided without the window.

#include <string>
#include <string_view>

#include "protocol/catalogue.h"

namespace korvane {

struct SetOutcome {
  enum class Kind {
    Nothing,    // nothing is sent
    Command,    // `text` is the command to send
    Rejection,  // `text` is the rejection notice, sent in place of the write
    Refused,    // the typed text could end the command early; `text` tells the operator why
  };
  Kind kind = Kind::Nothing;
  std::string text;
  friend bool operator==(const SetOutcome&, const SetOutcome&) = default;
};

SetOutcome Build_SetCmd(const SetRow& row, std::string_view text);

// The value a write command of the row carries, in the form the window shows it (and a backup
// file and the journal hold it): the command without its prefix and "#", the sign turned round
// again on the rows that show it the other way from the controller. ":Sg-135*00#" is "+135*00".
std::string WrittenValue(const SetRow& row, std::string_view command);

}  // namespace korvane
