#pragma once
// The three conversions between field texts and numbers. The same text always gives the same
// number, and the same number always gives the same command text. A full-width digit, sign or
// point (from a Japanese input method) reads as its ASCII form.

#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// The number at the start of a text; blanks, tabs and line feeds are skipped wherever they
// stand. 0 when the text starts with no number. Never fails.
double LeadingNumber(std::string_view text);

// The whole text (blanks allowed at its ends) read as one decimal number, rounded down toward
// minus infinity; nothing when the text is not a number as a whole.
std::optional<double> WholeNumber(std::string_view text);

// A number as command text: "-" for negatives, no blank, no leading zero (".5"), no trailing
// zeros, at most 15 significant digits.
std::string NumberText(double value);

}  // namespace korvane
