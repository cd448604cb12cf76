#include "win32/win32_window.h"

#include <commctrl.h>

#include <algorithm>
#include <fstream>

#include "protocol/controls.h"
#include "win32/control_ids.h"
#include "win32/dialog.h"
#include "win32/text.h"
#include "window/png.h"
#include "window/texts.h"

namespace korvane {

namespace {

constexpr wchar_t kWindowClass[] = L"KorvaneSettei";
constexpr UINT kPresetListClosed = WM_APP + 1;  // posted once the preset list has closed

COLORREF ref(Colour c) {
  return RGB(c.r, c.g, c.b);
}

// The device context's own brush in colour, for a control that paints in that context.
HBRUSH dcBrush(HDC dc, Colour colour) {
  SetBkColor(dc, ref(colour));
  SetDCBrushColor(dc, ref(colour));
  return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
}

// The first installed Japanese UI font that has every glyph the window shows: Wine's default GUI
// font has no kanji, and a font without them draws boxes.
std::wstring chooseFace(HDC dc) {
  const std::wstring all = Wide(GlyphsNeeded());
  for (std::string_view name : CandidateFaces()) {
    const std::wstring face = Wide(name);
    LOGFONTW want{};
    want.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(want.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    bool found = false;
    EnumFontFamiliesExW(
        dc, &want,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
          *reinterpret_cast<bool*>(found) = true;
          return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    if (!found) continue;
    HFONT font =
        CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str());
    HGDIOBJ old = SelectObject(dc, font);
    std::vector<WORD> glyphs(all.size());
    const DWORD got = GetGlyphIndicesW(dc, all.c_str(), static_cast<int>(all.size()), glyphs.data(),
                                       GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, old);
    DeleteObject(font);
    if (got != GDI_ERROR && std::find(glyphs.begin(), glyphs.end(), 0xFFFF) == glyphs.end())
      return face;
  }
  return Wide(kFallbackFace);
}

HFONT makeFont(const std::wstring& face, double points, int dpi, bool bold = false) {
  const int height = -static_cast<int>(points * dpi / 72.0 + 0.5);
  return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH,
                     face.c_str());
}

// The window class and style of a table entry's control. The table's alignment is a label's or
// a field's style, which share their values.
static_assert(SS_LEFT == ES_LEFT && SS_CENTER == ES_CENTER && SS_RIGHT == ES_RIGHT);
std::pair<const wchar_t*, DWORD> nativeOf(const ControlEntry& e) {
  const DWORD align = e.align == Align::Right    ? SS_RIGHT
                      : e.align == Align::Centre ? SS_CENTER
                                                 : SS_LEFT;
  switch (e.kind) {
    case ControlKind::Label:
      return {L"STATIC", align | SS_NOPREFIX | SS_CENTERIMAGE};
    case ControlKind::Button:
      return {L"BUTTON", BS_PUSHBUTTON};
    case ControlKind::Field:
      return {L"EDIT", align | ES_AUTOHSCROLL | (e.has(kReadOnly) ? ES_READONLY : 0)};
    case ControlKind::Combo:
      return {L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL};
    case ControlKind::Lamp:
    case ControlKind::Line:
      break;
  }
  return {L"STATIC", 0};
}

}  // namespace

Win32Window::Win32Window(HINSTANCE instance) : instance_(instance) {
  static const HBRUSH background = CreateSolidBrush(ref(kWindowBackground));  // the class's
  RegisterWindowClass(kWindowClass, &Win32Window::windowProc, background,
                      LoadIconW(instance, MAKEINTRESOURCEW(1)));

  HDC screen = GetDC(nullptr);
  dpi_ = GetDeviceCaps(screen, LOGPIXELSX);  // the primary monitor's; the window's follows below
  face_ = chooseFace(screen);
  ReleaseDC(nullptr, screen);

  // The menu, and its keys.
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  std::vector<ACCEL> keys;
  for (const MenuEntry& entry : kFileMenuEntries) {
    if (entry.command == MenuCommand::Separator) {
      AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const WORD id = static_cast<WORD>(kFirstMenuId + 1 + static_cast<int>(entry.command));
    AppendMenuW(file, MF_STRING, id, Wide(MenuText(entry)).c_str());
    if (const char letter = ShortcutLetter(entry.key))
      keys.push_back({FVIRTKEY | FCONTROL, static_cast<WORD>(letter), id});
  }
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), Wide(kFileMenu).c_str());
  commMenu_ = CreatePopupMenu();
  AppendMenuW(commMenu_, MF_STRING, kFindMenuId, Wide(kFindMenuEntry).c_str());
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(commMenu_), Wide(kCommMenu).c_str());
  accelerators_ = CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));

  hwnd_ =
      CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, Wide(kWindowTitle).c_str(), kFrameStyle,
                      CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, bar, instance, this);
  // Form2: its text centred on one line, in the colours the window gives it (colour()); it takes
  // the clicks on it (SS_NOTIFY) rather than passing them to the window beneath.
  busy_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", Wide(kBusyNotice).c_str(),
                          WS_POPUP | WS_BORDER | SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY, 0, 0, 0, 0,
                          hwnd_, nullptr, instance, nullptr);
  build();
  // The monitor the window opens on may have another scale than the primary one.
  using DpiForWindow = UINT(WINAPI*)(HWND);
  const auto dpiFor = reinterpret_cast<DpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32"), "GetDpiForWindow")));
  const int own = dpiFor != nullptr ? static_cast<int>(dpiFor(hwnd_)) : 0;
  scaleTo(own > 0 ? own : dpi_);
  RECT frame{0, 0, px(kClientWidthTwips), px(kClientHeightTwips)};
  AdjustWindowRectEx(&frame, kFrameStyle, TRUE, WS_EX_CONTROLPARENT);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Every control where the table puts it at dpi, in the fonts of that DPI.
void Win32Window::scaleTo(int dpi) {
  dpi_ = dpi;
  for (HFONT font : {font_, smallFont_, busyFont_}) DeleteObject(font);
  font_ = makeFont(face_, kWindowFontPoints, dpi_);
  smallFont_ = makeFont(face_, kSmallFontPoints, dpi_);
  busyFont_ = makeFont(face_, kBusyFontPoints, dpi_, true);
  for (const Control& c : controls_) {
    const ControlEntry& entry = *c.entry;
    int height = px(entry.h);
    if (entry.kind == ControlKind::Combo) height += px(3000);  // the list that drops down
    SetWindowPos(c.hwnd, nullptr, px(entry.x), px(entry.y), px(entry.w), std::max(1, height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(c.hwnd, WM_SETFONT,
                 reinterpret_cast<WPARAM>(entry.points != kWindowFontPoints ? smallFont_ : font_),
                 TRUE);
    // The closed box as high as the table says.
    if (entry.kind == ControlKind::Combo)
      SendMessageW(c.hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), px(entry.h) - 6);
  }
  SetWindowPos(busy_, nullptr, 0, 0, px(kBusyWidthTwips), px(kBusyHeightTwips),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(busy_, WM_SETFONT, reinterpret_cast<WPARAM>(busyFont_), TRUE);
}

Win32Window::~Win32Window() {
  if (busy_) DestroyWindow(busy_);
  if (hwnd_) DestroyWindow(hwnd_);
  for (HFONT font : {font_, smallFont_, busyFont_}) DeleteObject(font);
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
}

void Win32Window::build() {
  const auto& table = windowControls();
  // Exactly these take the focus by Tab (read-only fields too, to read or copy from).
  const std::vector<std::string_view> order = TabOrder();
  controls_.reserve(table.size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    const ControlEntry& entry = table[i];
    auto [cls, style] = nativeOf(entry);
    style |= WS_CHILD | (entry.has(kHidden) ? 0 : WS_VISIBLE);
    if (std::ranges::find(order, entry.name) != order.end()) style |= WS_TABSTOP;
    const bool edge = entry.kind == ControlKind::Field && !entry.has(kFlat);
    HWND child = CreateWindowExW(
        edge ? WS_EX_CLIENTEDGE : 0, cls,
        entry.kind == ControlKind::Combo ? L"" : Wide(entry.caption).c_str(), style, 0, 0, 1, 1,
        hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)), instance_,
        nullptr);
    const auto* rgb = std::get_if<Colour>(&entry.back);
    controls_.push_back({&entry, child, rgb ? *rgb : Colour{}, {}});
    if (entry.kind == ControlKind::Combo) {
      for (const std::string& item : ComboItems(entry.name)) addItem(entry.name, item);
      setText(entry.name, ComboFirstText(entry.name));
    }
  }
  // Tab follows the stacking of the controls, which is the order they were made in: stack them
  // in the window's reading order instead, on top of the labels and lamps (none of which they
  // overlap).
  HWND above = HWND_TOP;
  for (std::string_view name : order) {
    HWND h = control(name);
    SetWindowPos(h, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = h;
  }
  focus_ = control(order.front());
}

void Win32Window::setPortTooltips(PortTexts devices) {
  portTipFor_ = std::move(devices);
  HWND tips = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                              hwnd_, nullptr, instance_, nullptr);
  SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, 600);
  // Over the whole box: the mouse over its text or its dropped list is over windows of their own,
  // which the box alone as a tool would leave without a tip.
  HWND box = control(kCombo1);
  COMBOBOXINFO parts{};
  parts.cbSize = sizeof parts;
  GetComboBoxInfo(box, &parts);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.lpszText = LPSTR_TEXTCALLBACKW;  // made when shown (WM_NOTIFY): what is plugged in then
  for (HWND part : {box, parts.hwndItem, parts.hwndList}) {
    tool.uId = reinterpret_cast<UINT_PTR>(part);
    if (part != nullptr) SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

const Win32Window::Control* Win32Window::find(std::string_view name) const {
  const auto c = std::ranges::find(controls_, name, [](const Control& e) { return e.entry->name; });
  return c == controls_.end() ? nullptr : &*c;
}

// A control's colours as ControlBack and CaptionColour say (window_faces.h); nullptr leaves the
// control to the system.
HBRUSH Win32Window::colour(HDC dc, HWND child) {
  if (child == busy_) {  // Form2, which this window owns: a caption's white on its own colour
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetBkMode(dc, TRANSPARENT);
    return dcBrush(dc, kBusyBackground);
  }
  const auto c = std::ranges::find(controls_, child, &Control::hwnd);
  if (c == controls_.end()) return nullptr;
  const ControlEntry& e = *c->entry;
  if (e.kind == ControlKind::Label || e.kind == ControlKind::Button) {
    const Paint fore = CaptionColour(e);
    const auto* rgb = std::get_if<Colour>(&fore);
    SetTextColor(dc, rgb ? ref(*rgb) : GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetBkMode(dc, TRANSPARENT);
  }
  const auto h = highlighted_.find(e.name);
  const Paint back =
      ControlBack(e, h == highlighted_.end() ? Highlight::Never : h->second, c->fill);
  if (const auto* rgb = std::get_if<Colour>(&back)) return dcBrush(dc, *rgb);
  switch (std::get<SystemColour>(back)) {
    case SystemColour::AppWorkspace:
      return GetSysColorBrush(COLOR_APPWORKSPACE);
    case SystemColour::ButtonFace:
      return GetSysColorBrush(COLOR_BTNFACE);
    case SystemColour::HighlightText:
      return GetSysColorBrush(COLOR_HIGHLIGHTTEXT);
    case SystemColour::Default:
      break;
  }
  return nullptr;
}

void Win32Window::command(int id, int notification) {
  if (id == kFindMenuId) {
    const auto handler = menu_.find;  // a copy: the search runs for a while
    if (handler && menu_.searchAvailable() && IsWindowEnabled(hwnd_)) handler();
    return;
  }
  if (id > kFirstMenuId && id <= kFirstMenuId + 1 + static_cast<int>(MenuCommand::Quit)) {
    const auto which = static_cast<MenuCommand>(id - kFirstMenuId - 1);
    if (which == MenuCommand::Quit) return void(PostMessageW(hwnd_, WM_CLOSE, 0, 0));
    if (const auto handler = menu_.of(which); handler && IsWindowEnabled(hwnd_)) handler();
    return;
  }
  // Anything else below the controls' ids is a dialog key's IDOK or IDCANCEL: Enter and Escape
  // in a field do nothing.
  const std::size_t index = static_cast<std::size_t>(id - kFirstControlId);
  if (id < kFirstControlId || index >= controls_.size() || form_ == nullptr) return;
  const ControlEntry& e = *controls_[index].entry;
  if (e.kind == ControlKind::Button && notification == BN_CLICKED) {
    form_->Click(std::string(e.name));  // a copy: the handler may rebind the window
  } else if (e.name == kCombo2) {
    using E = PresetListWatch::Event;
    if (notification == CBN_DROPDOWN) presetListEvent(E::Dropped);
    if (notification == CBN_SELENDOK) presetListEvent(E::SelectedOk);
    if (notification == CBN_CLOSEUP) presetListEvent(E::ClosedUp);
    if (notification == CBN_SELCHANGE) presetListEvent(E::SelectionChanged);
  } else if (e.name == kCombo1 && notification == CBN_KILLFOCUS) {
    // Only the focus going to another control of this window is leaving the box; another window
    // coming to the front is not.
    HWND next = GetFocus();
    if (next != nullptr && IsChild(hwnd_, next) && !IsChild(controls_[index].hwnd, next))
      form_->Combo1_LostFocus();
  }
}

// What a notification of the preset list means is PresetListWatch's (preset_list.h).
void Win32Window::presetListEvent(PresetListWatch::Event event) {
  switch (presetList_.on(event, event == PresetListWatch::Event::Dropped ? text(kCombo2) : "")) {
    case PresetListWatch::Action::TellClosed:
      PostMessageW(hwnd_, kPresetListClosed, 0, 0);
      break;
    case PresetListWatch::Action::Take:
      takePreset();
      break;
    case PresetListWatch::Action::PutBack:
      setText(kCombo2, presetList_.before());
      break;
    case PresetListWatch::Action::None:
      break;
  }
}

void Win32Window::takePreset() {
  const Control* box = find(kCombo2);
  const LRESULT item = SendMessageW(box->hwnd, CB_GETCURSEL, 0, 0);
  if (item == CB_ERR || form_ == nullptr) return;
  // The box shows it before the handler reads it.
  SetWindowTextW(box->hwnd, Wide(box->items.at(static_cast<std::size_t>(item))).c_str());
  form_->Combo2_Click();
}

LRESULT CALLBACK Win32Window::windowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  auto* self = WindowObject<Win32Window>(hwnd, message, l);
  if (message == WM_NCCREATE && self != nullptr) self->hwnd_ = hwnd;
  return self ? self->handle(message, w, l) : DefWindowProcW(hwnd, message, w, l);
}

LRESULT Win32Window::handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
      command(LOWORD(w), HIWORD(w));
      return 0;
    case kPresetListClosed:
      presetListEvent(PresetListWatch::Event::Closed);
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (HBRUSH b = colour(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l)))
        return reinterpret_cast<LRESULT>(b);
      break;
    case WM_DPICHANGED: {
      // Moved to a monitor of another scale: the same window at the new DPI, where the system
      // suggests.
      scaleTo(LOWORD(w));
      const RECT* to = reinterpret_cast<const RECT*>(l);
      SetWindowPos(hwnd_, nullptr, to->left, to->top, to->right - to->left, to->bottom - to->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    }
    case WM_INITMENUPOPUP:
      // The search greyed out while a port is open: that port already answers the question.
      if (reinterpret_cast<HMENU>(w) == commMenu_) {
        const UINT state = menu_.searchAvailable() ? MF_ENABLED : MF_GRAYED;
        EnableMenuItem(commMenu_, kFindMenuId, MF_BYCOMMAND | state);
      }
      break;
    case WM_NOTIFY: {
      auto* tip = reinterpret_cast<NMTTDISPINFOW*>(l);
      if (tip->hdr.code == TTN_GETDISPINFOW && portTipFor_) {
        // The devices of all the box's ports at once, one line each; read after this returns.
        const std::vector<std::string>& items = find(kCombo1)->items;
        portTips_ = Wide(PortListTip(items, PortItemTips(items, portTipFor_), "\r\n"));
        tip->lpszText = portTips_.data();
        return 0;
      }
      break;
    }
    case WM_ACTIVATE:
      // The focus stays where the owner left it while another window is in front (a message
      // box, a dialog, another program), and the window first opens with it on the port box.
      if (LOWORD(w) == WA_INACTIVE) {
        if (HWND focus = GetFocus(); focus != nullptr && IsChild(hwnd_, focus)) focus_ = focus;
      } else if (HIWORD(w) == 0 && focus_ != nullptr && IsWindow(focus_) &&
                 IsWindowEnabled(focus_)) {
        SetFocus(focus_);
        return 0;
      }
      break;
    case WM_CLOSE:
      // The handlers end the program (port closed, waits cut short); the window stays for a
      // handler still inside a wait, hidden, and goes with this object.
      ShowWindow(hwnd_, SW_HIDE);
      if (form_ != nullptr) form_->Form_Unload();
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, w, l);
}

std::string Win32Window::text(std::string_view name) const {
  const Control* c = find(name);
  if (c == nullptr ||
      (c->entry->kind != ControlKind::Field && c->entry->kind != ControlKind::Combo))
    return {};
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(c->hwnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(c->hwnd, text.data(), int(text.size()))));
  return Utf8(text);
}

void Win32Window::setText(std::string_view name, std::string_view value) {
  const Control* c = find(name);
  if (c == nullptr) return;
  if (c->entry->kind == ControlKind::Combo) {
    // The list position follows the text where an item matches it exactly (case too), so that
    // the arrow keys go on from there; the text itself is always exactly the value.
    const auto at = std::ranges::find(c->items, value);
    SendMessageW(c->hwnd, CB_SETCURSEL, at == c->items.end() ? -1 : at - c->items.begin(), 0);
  }
  SetWindowTextW(c->hwnd, Wide(value).c_str());
  // Show the start of a long value (a 15-digit gear ratio), not its end.
  if (c->entry->kind == ControlKind::Field) SendMessageW(c->hwnd, EM_SETSEL, 0, 0);
}

void Win32Window::addItem(std::string_view name, std::string_view text) {
  Control* c = find(name);
  if (c == nullptr || c->entry->kind != ControlKind::Combo) return;
  c->items.emplace_back(text);
  SendMessageW(c->hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

Colour Win32Window::lamp(int shape) const {
  const Control* c = find("Shape" + std::to_string(shape));
  return c ? c->fill : Colour{};
}

void Win32Window::setLamp(int shape, Colour colour) {
  Control* c = find("Shape" + std::to_string(shape));
  if (c == nullptr) return;
  c->fill = colour;
  InvalidateRect(c->hwnd, nullptr, TRUE);
}

void Win32Window::setHighlighted(std::string_view name, bool highlighted) {
  highlighted_.insert_or_assign(std::string(name),
                                highlighted ? Highlight::Now : Highlight::Before);
  if (HWND h = control(name)) {
    InvalidateRect(h, nullptr, TRUE);
    UpdateWindow(h);  // now: the message box that follows waits for the operator
  }
}

bool Win32Window::isEnabled(std::string_view name) const {
  HWND h = name == kForm1 ? hwnd_ : control(name);
  return h != nullptr && IsWindowEnabled(h) != FALSE;
}

void Win32Window::setEnabled(std::string_view name, bool enabled) {
  if (name == kForm1) return void(EnableWindow(hwnd_, enabled ? TRUE : FALSE));
  if (HWND h = control(name)) EnableControl(hwnd_, h, enabled);
}

void Win32Window::showBusy(bool shown) {
  if (!shown) return void(ShowWindow(busy_, SW_HIDE));
  CentreOver(busy_, hwnd_, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  UpdateWindow(busy_);
}

bool Win32Window::savePng(const std::filesystem::path& file) const {
  RECT r;
  GetClientRect(hwnd_, &r);
  const int w = r.right, h = r.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(hwnd_);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  // What the window shows on the screen now, children included.
  BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  GdiFlush();
  const int stride = (w * 3 + 3) & ~3;  // a DIB's rows fill whole words
  const std::vector<std::uint8_t> rgb = RgbFromBgr(
      {static_cast<const std::uint8_t*>(bits), static_cast<std::size_t>(stride) * h}, w, h, stride);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(hwnd_, screen);
  std::ofstream out(file, std::ios::binary);
  out << EncodePng(w, h, rgb);
  return static_cast<bool>(out.flush());
}

}  // namespace korvane
