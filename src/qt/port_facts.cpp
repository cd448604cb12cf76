#include "qt/port_facts.h"

#include <QFileInfo>

#include "app/port_names.h"

namespace korvane {

namespace {

// UTF-16 both ways, so that a folder named in Japanese keeps its name on Windows too.
QString toQString(const std::filesystem::path& path) {
  return QString::fromStdU16String(path.u16string());
}
std::filesystem::path toPath(const QString& text) {
  return std::filesystem::path(text.toStdU16String());
}

}  // namespace

QHash<QString, QSerialPortInfo> SerialPortsByPath() {
  QHash<QString, QSerialPortInfo> ports;
  for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
    const QString path = port.systemLocation();  // \\.\COM3, as PortDevice names it
#else
    const QString path = QFileInfo(port.systemLocation()).canonicalFilePath();
#endif
    if (!path.isEmpty()) ports.insert(path, port);
  }
  return ports;
}

std::vector<int> PortsPresentNow(const std::filesystem::path& folder,
                                 const QHash<QString, QSerialPortInfo>& ports) {
  return PortsPresent(folder, ExistsOnDisk, [&ports](const std::filesystem::path& device) {
#ifdef Q_OS_WIN
    return ports.contains(toQString(device));
#else
    return ports.contains(QFileInfo(toQString(device)).canonicalFilePath());
#endif
  });
}

PortFacts PortFactsOf(const std::filesystem::path& device,
                      const QHash<QString, QSerialPortInfo>& ports) {
  PortFacts facts;
  facts.device = device;
#ifdef Q_OS_WIN
  // A Windows port is no file: it is there when the system lists it.
  const auto port = ports.constFind(toQString(device));
  facts.present = port != ports.constEnd();
#else
  const QFileInfo info(toQString(device));
  facts.present = info.exists();  // follows links
  if (info.isSymLink()) {
    facts.linkTarget = toPath(facts.present ? info.canonicalFilePath() : info.symLinkTarget());
  }
  const auto port = facts.present ? ports.constFind(info.canonicalFilePath()) : ports.constEnd();
#endif
  if (port != ports.constEnd()) {
    PortAdapter adapter;
    adapter.description = port->description().toStdString();
    adapter.manufacturer = port->manufacturer().toStdString();
    if (port->hasVendorIdentifier()) adapter.vendorId = port->vendorIdentifier();
    if (port->hasProductIdentifier()) adapter.productId = port->productIdentifier();
    facts.adapter = adapter;
  }
  return facts;
}

}  // namespace korvane
