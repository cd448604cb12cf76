#include "win32/port_facts.h"

#include <windows.h>
// after windows.h
#include <initguid.h>
// after initguid.h, which makes it define the class's GUID
#include <devguid.h>
#include <setupapi.h>

#include <set>

#include "app/port_names.h"
#include "win32/text.h"

namespace korvane {

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

}  // namespace

std::map<int, PortAdapter> SerialAdapters() {
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

namespace {
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

PortFacts PortFactsOf(int number, const std::map<int, PortAdapter>& adapters) {
  PortFacts facts;
  facts.device = PortDevice(number, {}, ExistsOnDisk);
  facts.present = systemHas(facts.device);
  if (const auto found = adapters.find(number); found != adapters.end())
    facts.adapter = found->second;
  return facts;
}

}  // namespace korvane
