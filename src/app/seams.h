#pragma once
// The narrow seams through which the handlers reach the outside world. Each shell implements them
// with its widgets, its serial port and a nested event loop; the tests implement them with fakes
// on a virtual clock.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "operation/date_time.h"
#include "window/colour.h"

namespace korvane {

// The window reduced to named values. Controls are named as the window names them:
// "Text1(5)", "Text2".."Text11", "Combo1".."Combo3", "Command6(14)", "Command19", "Form1"
// (see controls.h for the name builders). Lamps are addressed by their Shape number 1..14.
class Panel {
 public:
  virtual ~Panel() = default;
  virtual std::string text(std::string_view control) const = 0;
  virtual void setText(std::string_view control, std::string_view value) = 0;
  virtual Colour lamp(int shape) const = 0;
  virtual void setLamp(int shape, Colour colour) = 0;
  // A field the calculator complains about turns pale yellow while its message shows and takes
  // the button-face colour afterwards.
  virtual void setHighlighted(std::string_view control, bool highlighted) = 0;
  virtual bool isEnabled(std::string_view control) const = 0;
  virtual void setEnabled(std::string_view control, bool enabled) = 0;
  // Form2, the "書き込み中....." notice; shown without blocking.
  virtual void showBusy(bool shown) = 0;
  // One more entry at the end of a combo box's list (a port numbered above the list's own).
  virtual void addItem(std::string_view control, std::string_view text) = 0;
};

// Why a port could not be opened, as far as the system tells. StaleLock: a lock file left by a
// program that has ended, which this user may not remove (Port::staleLock names it).
enum class OpenTrouble { None, InUse, NoPermission, StaleLock, Other };

// The one serial port, as the handlers write to it. What it receives, and the loss of its line, an
// adapter hands to the PortEvents of port_events.h, which deliver them to the handlers.
class Port {
 public:
  virtual ~Port() = default;
  virtual int number() const = 0;
  // Returns false when the port refuses the number (the old one stays).
  virtual bool setNumber(int number) = 0;
  // Returns false when the port could not be opened (absent, in use).
  virtual bool open() = 0;
  // Why the last open failed.
  virtual OpenTrouble openTrouble() const { return OpenTrouble::Other; }
  // The lock file that kept the last open out, for OpenTrouble::StaleLock.
  virtual std::filesystem::path staleLock() const { return {}; }
  // The device port n names, every link followed; empty when unknown. Two numbers that give the
  // same device are one port to the search.
  virtual std::string device(int) const { return {}; }
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  // True when the bytes went to the line; false when the port is closed or the write failed (an
  // adapter closes itself on a failed write and tells of the lost line as on a read).
  virtual bool write(std::string_view bytes) = 0;
};

class EventLoop {
 public:
  virtual ~EventLoop() = default;
  // Returns after at least ms milliseconds, running the window's events meanwhile (replies are
  // parsed and other buttons' handlers run to completion inside the wait). Returns at once once
  // the program is ending.
  virtual void Wait(double ms) = 0;
  // Lets pending events run once.
  virtual void processEvents() = 0;
  // Runs fn from the event loop, after what is running now has returned to it or inside the next
  // Wait, whichever comes first; what is posted runs in the order posted, and not at all once the
  // loop is gone.
  virtual void post(std::function<void()> fn) = 0;
  virtual LocalDateTime now() const = 0;
  // The program ends: every running wait returns, and later waits return at once.
  virtual void quit() = 0;
};

enum class MessageStyle {
  Ok,                   // OK only, no icon
  OkCancel,             // OK and Cancel, no icon
  OkCancelExclamation,  // OK and Cancel with the exclamation icon
  Critical,             // OK only, error icon: something the operator must act on
};
enum class MessageButton { Ok, Cancel };

// What a box of a style shows: its icon, and whether it has Cancel beside OK. OK is the default
// button; Escape answers Cancel where there is one, OK otherwise.
enum class BoxIcon { None, Exclamation, Error };
struct BoxLook {
  BoxIcon icon;
  bool cancel;
};
constexpr BoxLook LookOf(MessageStyle style) {
  return {style == MessageStyle::OkCancelExclamation ? BoxIcon::Exclamation
          : style == MessageStyle::Critical          ? BoxIcon::Error
                                                     : BoxIcon::None,
          style == MessageStyle::OkCancel || style == MessageStyle::OkCancelExclamation};
}

class Operator {
 public:
  virtual ~Operator() = default;
  // An empty title shows the application's title.
  virtual MessageButton message(std::string_view text, std::string_view title,
                                MessageStyle style) = 0;
  virtual void beep() = 0;
};

// What a window tells the handlers: the face of Form1 that a shell calls. Everything else of
// Form1 is the handlers' own, reached through the core (the port's events, the menu, the start).
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  // A button pressed, by the window's name for it ("Command6(3)"); an unknown name throws.
  virtual void Click(std::string_view control) = 0;
  virtual void Combo1_LostFocus() = 0;  // the port box left: its text is the port to use
  virtual void Combo2_Click() = 0;      // a preset taken from the list (not one browsed past)
  virtual void Form_Unload() = 0;       // the window closes
};

// The system's file dialogs, with the backup files' filter (kBackupFileFilters).
class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // The file to save into, the dialog starting at `name` in the user's Documents folder (and
  // asking before it replaces a file); empty when the operator cancels.
  virtual std::filesystem::path saveFile(std::string_view title, std::string_view name) = 0;
  // An existing file to read; empty when the operator cancels.
  virtual std::filesystem::path openFile(std::string_view title) = 0;
};

// A progress window over the main window, with a cancel button, while a read or the search runs;
// the main window takes no press meanwhile. ProgressShown (progress_shown.h) drives it.
class Progress {
 public:
  virtual ~Progress() = default;
  virtual void open(std::string_view title) = 0;
  // What it says now, and how far the work is (value of maximum).
  virtual void step(std::string_view text, int value, int maximum) = 0;
  // Cancel was pressed (or the window closed) since it opened.
  virtual bool cancelled() const = 0;
  // Gone: before the result is told, so that it does not stand over the message.
  virtual void close() = 0;
};

}  // namespace korvane
