#include "win32/win32_operator.h"

#include "win32/text.h"
#include "window/layout.h"

namespace korvane {

MessageButton Win32Operator::message(std::string_view text, std::string_view title,
                                     MessageStyle style) {
  const BoxLook look = LookOf(style);
  const UINT flags =
      (look.cancel ? MB_OKCANCEL : MB_OK) | (look.icon == BoxIcon::Exclamation ? MB_ICONEXCLAMATION
                                             : look.icon == BoxIcon::Error     ? MB_ICONERROR
                                                                               : 0);
  const int pressed =
      MessageBoxW(owner_, Wide(text).c_str(),
                  Wide(title.empty() ? kApplicationTitle : title).c_str(), flags | MB_DEFBUTTON1);
  return pressed == IDCANCEL ? MessageButton::Cancel : MessageButton::Ok;
}

}  // namespace korvane
