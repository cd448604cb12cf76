#pragma once
// Form1 as a native window: every control made from the window's table by one loop, scaled from
// twips by the display's DPI; the "ファイル" menu; Form2, the busy notice. Implements the Panel
// seam; clicks, the port box's loss of focus, a pick from the preset list and the close go to the
// bound Form1 by the window's own names.

#include <windows.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/menu_flows.h"
#include "app/port_tooltip.h"
#include "app/preset_list.h"
#include "app/seams.h"
#include "window/layout.h"
#include "window/window_faces.h"

namespace korvane {

class Win32Window : public Panel {
 public:
  explicit Win32Window(HINSTANCE instance);
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  HWND hwnd() const { return hwnd_; }
  HACCEL accelerators() const { return accelerators_; }
  void bind(WindowEvents* form) { form_ = form; }
  void setMenuHandlers(MenuHandlers handlers) { menu_ = std::move(handlers); }
  // The port box's tooltip: each listed port's name and its device's text, asked of devices
  // (the numbers listed, a text for each) each time the tooltip shows.
  void setPortTooltips(PortTexts devices);
  HFONT font() const { return font_; }
  int dpi() const { return dpi_; }  // of the monitor the window is on

  // The client area as a PNG, drawn as the window draws itself.
  bool savePng(const std::filesystem::path& file) const;

  // Panel
  std::string text(std::string_view control) const override;
  void setText(std::string_view control, std::string_view value) override;
  Colour lamp(int shape) const override;
  void setLamp(int shape, Colour colour) override;
  void setHighlighted(std::string_view control, bool highlighted) override;
  bool isEnabled(std::string_view control) const override;
  void setEnabled(std::string_view control, bool enabled) override;
  void showBusy(bool shown) override;
  void addItem(std::string_view control, std::string_view text) override;

 private:
  struct Control {
    const ControlEntry* entry;
    HWND hwnd;
    Colour fill;                     // a lamp's or line's colour now
    std::vector<std::string> items;  // a box's list, as it was added to the box
  };
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
  LRESULT handle(UINT message, WPARAM w, LPARAM l);
  void build();
  void scaleTo(int dpi);  // the fonts made, and every control placed and sized, at dpi
  void command(int id, int notification);
  void presetListEvent(PresetListWatch::Event event);
  void takePreset();
  HBRUSH colour(HDC dc, HWND child);
  const Control* find(std::string_view name) const;
  Control* find(std::string_view name) {
    return const_cast<Control*>(std::as_const(*this).find(name));
  }
  HWND control(std::string_view name) const {
    const Control* c = find(name);
    return c ? c->hwnd : nullptr;
  }
  int px(int twips) const { return twipsToPixels(twips, dpi_); }

  HINSTANCE instance_;
  HWND hwnd_ = nullptr, busy_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HMENU commMenu_ = nullptr;
  HFONT font_ = nullptr, smallFont_ = nullptr, busyFont_ = nullptr;
  int dpi_ = kDesignDpi;
  std::wstring face_;
  static constexpr DWORD kFrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  WindowEvents* form_ = nullptr;
  MenuHandlers menu_;
  std::vector<Control> controls_;  // in the table's order; id = 100 + index
  std::map<std::string, Highlight, std::less<>> highlighted_;
  HWND focus_ = nullptr;  // the control that had the focus when the window was last active
  // The preset list while it is down or closing: what the box showed before it dropped, and
  // whether the owner took an item (Enter, a click) rather than leaving the list (Escape, a click
  // elsewhere).
  PresetListWatch presetList_;
  PortTexts portTipFor_;
  std::wstring portTips_;
};

}  // namespace korvane
