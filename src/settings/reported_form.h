#pragma once
// Whether a value has the form in which the controller reports its setting (see Reported in the
// catalogue): a backup file is held to it, and so are the lengths of typed WiFi names and
// passwords.

#include <optional>
#include <string>
#include <string_view>

#include "protocol/catalogue.h"

namespace korvane {

// Nothing when the value has the form; otherwise the form, for the operator ("0 から 999 までの
// 整数").
std::optional<std::string> ReportedFormProblem(const ReplyForm& form, std::string_view value);

}  // namespace korvane
