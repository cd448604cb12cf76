#pragma once
// Names of the window's controls as the handlers address them through Panel.

#include <string>

namespace korvane {

inline std::string text1(int index) {
  return "Text1(" + std::to_string(index) + ")";
}
inline std::string command5(int index) {
  return "Command5(" + std::to_string(index) + ")";
}
inline std::string command6(int index) {
  return "Command6(" + std::to_string(index) + ")";
}
// Text2 .. Text11, CommandN, ShapeN, ComboN
inline std::string numbered(const char* kind, int n) {
  return kind + std::to_string(n);
}

// "COMn": a port as the port box and siri.DAT name it.
inline std::string ComName(int number) {
  return "COM" + std::to_string(number);
}

inline constexpr const char* kCombo1 = "Combo1";
inline constexpr const char* kCombo2 = "Combo2";
inline constexpr const char* kCombo3 = "Combo3";
inline constexpr const char* kForm1 = "Form1";
inline constexpr const char* kCommand19 = "Command19";

// Combo3 is the target of the WiFi channel; in tables it is written as this pseudo index.
inline constexpr int kCombo3Index = -3;
inline std::string fieldName(int text1Index) {
  return text1Index == kCombo3Index ? std::string(kCombo3) : text1(text1Index);
}

}  // namespace korvane
