#include "qt/qt_event_loop.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>
#include <algorithm>

#include "app/wait_turns.h"

namespace korvane {

void QtEventLoop::Wait(double ms) {
  if (quitting_) return;
  QEventLoop loop;
  QTimer timer;
  timer.setTimerType(Qt::PreciseTimer);
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  running_.push_back(&loop);
  WaitInTurns(ms, [&](unsigned sleepMs) {
    if (sleepMs == 0) {
      QCoreApplication::processEvents();  // the time is up: what is pending runs once
    } else {
      timer.start(static_cast<int>(sleepMs));
      loop.exec();
    }
    return !quitting_;
  });
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
