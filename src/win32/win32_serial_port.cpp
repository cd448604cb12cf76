#include "win32/win32_serial_port.h"

#include "app/port_names.h"
#include "files/local_file.h"

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
    SetLastError(error);
    log_.openFailed(device_, "error " + std::to_string(GetLastError()));
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
  line.fParity = FALSE;
  line.fOutxCtsFlow = line.fOutxDsrFlow = FALSE;
  line.fDtrControl = DTR_CONTROL_ENABLE;
  line.fRtsControl = RTS_CONTROL_ENABLE;
  line.fOutX = line.fInX = FALSE;
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
  loop_.unwatch(read_.hEvent);
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

}  // namespace korvane
