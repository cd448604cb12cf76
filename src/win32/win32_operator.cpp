#include "win32/win32_operator.h"

#include "win32/text.h"
#include "window/layout.h"

namespace korvane {

MessageButton Win32Operator::message(std::string_view text, std::string_view title,
                                     MessageStyle style) {
  UINT flags = MB_OK;
  switch (style) {
    case MessageStyle::OkCancel:
      flags = MB_OKCANCEL;
      break;
    case MessageStyle::OkCancelExclamation:
      flags = MB_OKCANCEL | MB_ICONEXCLAMATION;
      break;
    case MessageStyle::Critical:
      flags = MB_OK | MB_ICONERROR;
      break;
    case MessageStyle::Ok:
      break;
  }
  // OK is the default button; Escape answers Cancel where there is one, as the system's box does.
  const int pressed =
      MessageBoxW(owner_, Wide(text).c_str(),
                  Wide(title.empty() ? kApplicationTitle : title).c_str(), flags | MB_DEFBUTTON1);
  return pressed == IDCANCEL ? MessageButton::Cancel : MessageButton::Ok;
}

}  // namespace korvane
