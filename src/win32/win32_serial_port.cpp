#include "win32/win32_serial_port.h"

// after windows.h
#include <initguid.h>
// after initguid.h, which makes it define the class's GUID
#include <devguid.h>
#include <setupapi.h>

#include <map>
#include <set>

#include "app/port_names.h"
#include "app/port_tooltip.h"
#include "files/local_file.h"
#include "win32/text.h"

namespace korvane {

Win32SerialPort::Win32SerialPort(Win32EventLoop& loop, DeviceFor deviceFor)
    : AdapterPort(std::move(deviceFor)), loop_(loop), log_(StandardErrorTrafficLog()) {
  read_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  write_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

Win32SerialPort::~Win32SerialPort() {
  close();
  CloseHandle(read_.hEvent);
  CloseHandle(write_.hEvent);
}

bool Win32SerialPort::open() {
  if (isOpen()) return true;
  const std::filesystem::path device = deviceFor_(number());
  device_ = PathUtf8(device);  // as the log names it: "COM5" for \\.\COM5
  if (device_.starts_with("\\\\.\\")) device_.erase(0, 4);
  HANDLE h = CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_FLAG_OVERLAPPED, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    // A port another program has open is refused as access denied.
    const DWORD error = GetLastError();
    openTrouble_ = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION
                       ? OpenTrouble::InUse
                       : OpenTrouble::Other;
    log_.openFailed(device_, "error " + std::to_string(error));
    return false;
  }
  DCB line{};
  line.DCBlength = sizeof line;
  GetCommState(h, &line);
  static_assert(kControllerLine.parity == 'N' && kControllerLine.stopBits == 1 &&
                !kControllerLine.flowControl);
  line.BaudRate = static_cast<DWORD>(kControllerLine.baud);
  line.ByteSize = static_cast<BYTE>(kControllerLine.dataBits);
  line.Parity = NOPARITY;
  line.StopBits = ONESTOPBIT;
  line.fBinary = TRUE;
  line.fDtrControl = DTR_CONTROL_ENABLE;
  line.fRtsControl = RTS_CONTROL_ENABLE;
  // No parity check, no flow control either way, and no stop on an error.
  line.fParity = line.fOutxCtsFlow = line.fOutxDsrFlow = line.fOutX = line.fInX = FALSE;
  line.fAbortOnError = FALSE;
  SetCommState(h, &line);
  // A read returns once a byte has come and the line has then been quiet for 1 ms; no total
  // limit, since the read is overlapped and the loop sleeps meanwhile.
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = 1;
  SetCommTimeouts(h, &timeouts);
  // What an adapter kept from before (a late answer to the last search's query, say) is no
  // answer to anything this open will ask.
  PurgeComm(h, PURGE_RXCLEAR);
  handle_ = h;
  loop_.watch(read_.hEvent, [this] { readDone(); });
  log_.opened(device_);
  startReads();
  return isOpen();
}

void Win32SerialPort::close() {
  if (!isOpen()) return;
  loop_.watch(nullptr, {});
  CancelIo(handle_);
  CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  ResetEvent(read_.hEvent);
  log_.closed(device_);
}

void Win32SerialPort::lose() {
  log_.lineFailed("error " + std::to_string(GetLastError()));
  close();
  if (events.lost) events.lost();
}

void Win32SerialPort::startReads() {
  while (isOpen()) {
    ResetEvent(read_.hEvent);
    DWORD got = 0;
    if (ReadFile(handle_, buffer_.data(), static_cast<DWORD>(buffer_.size()), &got, &read_)) {
      received(got);
      continue;
    }
    if (GetLastError() != ERROR_IO_PENDING) lose();
    return;
  }
}

void Win32SerialPort::readDone() {
  if (!isOpen()) return;
  DWORD got = 0;
  if (!GetOverlappedResult(handle_, &read_, &got, FALSE)) {
    if (GetLastError() != ERROR_IO_INCOMPLETE) lose();  // a hang-up: ERROR_BROKEN_PIPE
    return;
  }
  received(got);
  startReads();
}

void Win32SerialPort::received(DWORD got) {
  if (got == 0) return;
  const std::string_view bytes(buffer_.data(), got);
  log_.received(bytes);
  if (events.received) events.received(bytes);
}

bool Win32SerialPort::write(std::string_view bytes) {
  if (!isOpen()) return false;
  log_.sent(bytes);
  // Whole before the next: a close right after (a port choice, "切断", the end) loses nothing.
  ResetEvent(write_.hEvent);
  DWORD done = 0;
  BOOL ok = WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &done, &write_);
  if (!ok && GetLastError() == ERROR_IO_PENDING)
    ok = GetOverlappedResult(handle_, &write_, &done, TRUE);
  if (!ok) lose();  // an unplugged adapter: ERROR_NOT_READY
  return ok && done == bytes.size();
}

namespace {

// A text property of a device; several (a hardware id list) as one text, NUL-separated.
std::wstring property(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD which) {
  DWORD type = 0, size = 0;
  SetupDiGetDeviceRegistryPropertyW(set, &device, which, &type, nullptr, 0, &size);
  if (size == 0) return {};
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  if (!SetupDiGetDeviceRegistryPropertyW(set, &device, which, &type,
                                         reinterpret_cast<BYTE*>(text.data()), size, nullptr))
    return {};
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

// The COM port a device is, from its "PortName" ("COM7" -> 7); 0 when it is none.
int portNumberOf(HDEVINFO set, SP_DEVINFO_DATA& device) {
  HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
  if (key == INVALID_HANDLE_VALUE) return 0;
  wchar_t name[32] = {};
  DWORD size = sizeof name - sizeof(wchar_t), type = 0;
  const bool read = RegQueryValueExW(key, L"PortName", nullptr, &type,
                                     reinterpret_cast<BYTE*>(name), &size) == ERROR_SUCCESS &&
                    type == REG_SZ;
  RegCloseKey(key);
  return read ? ComNumber(Utf8(name), kHighestPortNumber) : 0;
}

// The adapters of the serial ports present now, by port number ("COM7" -> 7).
std::map<int, PortAdapter> serialAdapters() {
  std::map<int, PortAdapter> adapters;
  HDEVINFO set = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
  if (set == INVALID_HANDLE_VALUE) return adapters;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
    const int number = portNumberOf(set, device);
    if (number == 0) continue;
    PortAdapter adapter;
    adapter.description = Utf8(property(set, device, SPDRP_FRIENDLYNAME));
    if (adapter.description.empty())
      adapter.description = Utf8(property(set, device, SPDRP_DEVICEDESC));
    adapter.manufacturer = Utf8(property(set, device, SPDRP_MFG));
    ReadUsbIds(Utf8(property(set, device, SPDRP_HARDWAREID)), adapter);
    adapters.emplace(number, adapter);
  }
  SetupDiDestroyDeviceInfoList(set);
  return adapters;
}

// A Windows port is no file: it is there when the system has a device for its name.
bool systemHas(const std::filesystem::path& device) {
  wchar_t target[512];
  return QueryDosDeviceW(device.filename().c_str(), target, 512) != 0;
}

}  // namespace

std::vector<int> PortsPresentNow() {
  // Every name the system has, in one call ("COM3\0LPT1\0...\0\0"): asking for 255 names one by
  // one costs a second under Wine.
  std::vector<wchar_t> all(64 * 1024);
  const DWORD n = QueryDosDeviceW(nullptr, all.data(), static_cast<DWORD>(all.size()));
  std::set<std::wstring> names;
  for (const wchar_t* name = all.data(); n > 0 && *name != L'\0'; name += wcslen(name) + 1)
    names.insert(name);
  return PortsPresent({}, ExistsOnDisk, [&](const std::filesystem::path& device) {
    return n > 0 ? names.count(device.filename().wstring()) > 0 : systemHas(device);
  });
}

std::vector<std::string> PortTooltips(const std::vector<int>& numbers) {
  const std::map<int, PortAdapter> adapters = serialAdapters();
  std::vector<std::string> tips;
  for (int n : numbers) {
    PortFacts facts;
    facts.device = PortDevice(n, {}, ExistsOnDisk);
    facts.present = systemHas(facts.device);
    if (const auto found = adapters.find(n); found != adapters.end()) facts.adapter = found->second;
    tips.push_back(PortTooltip(facts));
  }
  return tips;
}

}  // namespace korvane
