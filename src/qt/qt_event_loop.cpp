#include "qt/qt_event_loop.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace korvane {

void QtEventLoop::Wait(double ms) {
  if (quitting_) return;
  // A 64-bit monotonic clock: no wrap to worry about.
  QElapsedTimer clock;
  clock.start();
  const qint64 targetNs = static_cast<qint64>(std::max(0.0, ms) * 1e6);
  QEventLoop loop;
  QTimer timer;
  timer.setTimerType(Qt::PreciseTimer);
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  running_.push_back(&loop);
  bool eventsRan = false;
  while (!quitting_) {
    const qint64 leftNs = targetNs - clock.nsecsElapsed();
    if (leftNs <= 0) {
      // Even a wait of 0 lets what is pending run once, as every wait does.
      if (!eventsRan) QCoreApplication::processEvents();
      break;
    }
    timer.start(static_cast<int>(std::ceil(static_cast<double>(leftNs) / 1e6)));
    loop.exec();
    eventsRan = true;
  }
  running_.erase(std::find(running_.begin(), running_.end(), &loop));
}

void QtEventLoop::processEvents() {
  QCoreApplication::processEvents();
}

void QtEventLoop::post(std::function<void()> fn) {
  QMetaObject::invokeMethod(&context_, std::move(fn), Qt::QueuedConnection);
}

LocalDateTime QtEventLoop::now() const {
  const QDateTime t = QDateTime::currentDateTime();
  const QDate d = t.date();
  const QTime h = t.time();
  return {d.year(), d.month(), d.day(), h.hour(), h.minute(), h.second()};
}

void QtEventLoop::quit() {
  quitting_ = true;
  for (QEventLoop* loop : running_) loop->quit();
  QCoreApplication::quit();
}

}  // namespace korvane
