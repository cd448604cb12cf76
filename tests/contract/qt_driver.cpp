// The Qt window driven from outside, as korvane-press.exe drives the Windows window:
//   korvane-qt-driver --listen SOCKET TOOL-ARGS...  runs the very window korvane-settei runs
//                                                   (RunWindowProgram) and takes verbs on SOCKET
//   korvane-qt-driver SOCKET VERB...                the hand: sends the verbs, prints what they
//                                                   print, ends with 1 if one failed
// The verbs are korvane-press.exe's: NAME (click the control NAME), --close, --boxes, --menu N,
// --open PATH (answer the file dialog), --cancel, --ok, --journal (prints entries and chosen row)
// and --keys NAME KEY,... with keys named (F4, Down, Escape, Enter). Clicks, keys and menu entries
// are posted, as a hand's input arrives, so that a handler that waits leaves the hand free; a
// verb that waits for a dialog gives up after 30 s.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "app/start_up.h"
#include "qt/tool_window.h"
#include "qt/window_program.h"
#include "window/texts.h"

namespace {

using korvane::ToolWindow;

template <class T>
T* shown(const std::function<bool(T*)>& also = {}) {  // a visible window of the tool's
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* t = qobject_cast<T*>(w);
    if (t != nullptr && t->isVisible() && (!also || also(t))) return t;
  }
  return nullptr;
}

QTableWidget* journalTable(QWidget* dialog) {
  const bool journal = dialog->windowTitle() == QString::fromUtf8(korvane::kJournalTitle.data(),
                                                                  korvane::kJournalTitle.size());
  return journal ? dialog->findChild<QTableWidget*>() : nullptr;
}

void post(QObject* to, std::function<void()> what) {
  QTimer::singleShot(0, to, std::move(what));
}

int keyNamed(const QString& name) {
  static const QHash<QString, int> keys{{"F4", Qt::Key_F4},
                                        {"Down", Qt::Key_Down},
                                        {"Escape", Qt::Key_Escape},
                                        {"Enter", Qt::Key_Return}};
  return keys.value(name, 0);
}

// One hand's verbs, run in turn on a 50 ms tick; the answer goes back once all are done.
class Verbs : public QObject {
 public:
  Verbs(QLocalSocket* socket, QStringList words) : socket_(socket), words_(std::move(words)) {
    connect(&tick_, &QTimer::timeout, this, &Verbs::step);
    tick_.start(50);
    since_.start();
  }

 private:
  enum class Result { Done, Wait, Fail };

  void step() {
    while (at_ < words_.size()) {
      const Result r = run(words_[at_]);
      if (r == Result::Wait && since_.elapsed() < 30000) return;
      if (r != Result::Done) return finish('1', "korvane-qt-driver: " + words_[at_] + " failed\n");
      at_ += arity(words_[at_]);
      since_.restart();
      phase_ = 0;
    }
    finish('0', {});
  }

  static int arity(const QString& verb) {
    return verb == "--keys" ? 3 : verb == "--menu" || verb == "--open" ? 2 : 1;
  }

  QString arg(int n) const { return at_ + n < words_.size() ? words_[at_ + n] : QString(); }

  Result run(const QString& verb) {
    ToolWindow* tool = shown<ToolWindow>();
    if (tool == nullptr) return Result::Wait;
    if (verb == "--close") return post(tool, [tool] { tool->close(); }), Result::Done;
    if (verb == "--boxes") {
      int n = 0;
      for (QWidget* w : QApplication::topLevelWidgets())
        n += w->isVisible() && (qobject_cast<QMessageBox*>(w) || qobject_cast<QFileDialog*>(w));
      out_ += QString::number(n) + "\n";
      return Result::Done;
    }
    if (verb == "--menu") {
      const int n = arg(1).toInt();
      const QList<QAction*> file = tool->menuBar()->actions().front()->menu()->actions();
      QAction* action = n == 10 ? tool->findAction() : file.value(n - 1);
      if (action == nullptr) return Result::Fail;
      return post(action, [action] { action->trigger(); }), Result::Done;
    }
    if (verb == "--open") {
      auto* dialog = shown<QFileDialog>();
      if (dialog == nullptr) return Result::Wait;
      dialog->selectFile(arg(1));
      static_cast<QDialog*>(dialog)->accept();  // as its own button does
      return Result::Done;
    }
    if (verb == "--cancel") {  // what it says 2 s after it shows
      auto* progress = shown<QProgressDialog>();
      if (progress == nullptr && phase_ == 0) return Result::Wait;
      if (phase_ == 0) return phase_ = 1, since_.restart(), Result::Wait;
      if (since_.elapsed() < 2000) return Result::Wait;
      if (progress == nullptr) return Result::Fail;
      out_ += progress->labelText() + "\n";
      QPushButton* cancel = progress->findChild<QPushButton*>();
      return post(cancel, [cancel] { cancel->click(); }), Result::Done;
    }
    if (verb == "--ok") {
      auto* box = shown<QMessageBox>();
      if (box == nullptr) return Result::Wait;
      QAbstractButton* ok = box->button(QMessageBox::Ok);
      return post(ok, [ok] { ok->click(); }), Result::Done;
    }
    if (verb == "--journal") {
      auto* dialog = shown<QDialog>([](QDialog* d) { return journalTable(d) != nullptr; });
      if (dialog == nullptr) return Result::Wait;
      QTableWidget* table = journalTable(dialog);
      const QModelIndexList chosen = table->selectionModel()->selectedRows();
      out_ +=
          QString("%1 %2\n").arg(table->rowCount()).arg(chosen.isEmpty() ? -1 : chosen[0].row());
      // Enter in the list, as an owner with the keyboard closes it.
      return post(table, [table] { QTest::keyClick(table, Qt::Key_Return); }), Result::Done;
    }
    if (verb == "--keys") {  // 200 ms apart, each to the open popup if one is, as typed
      QWidget* control = tool->findChild<QWidget*>(arg(1));
      const QStringList keys = arg(2).split(',');
      if (control == nullptr) return Result::Fail;
      if (phase_ == 0) control->setFocus();
      if (phase_ == keys.size()) return Result::Done;
      if (since_.elapsed() < 200 * phase_) return Result::Wait;
      const int key = keyNamed(keys[phase_++]);
      if (key == 0) return Result::Fail;
      post(control, [control, key] {
        QWidget* popup = QApplication::activePopupWidget();
        QWidget* to = popup == nullptr       ? control
                      : popup->focusWidget() ? popup->focusWidget()
                                             : popup;
        QTest::keyClick(to, Qt::Key(key));
      });
      return Result::Wait;
    }
    auto* button = tool->findChild<QAbstractButton*>(verb);
    if (button == nullptr) return Result::Fail;
    return post(button, [button] { button->click(); }), Result::Done;
  }

  void finish(char status, const QString& error) {
    tick_.stop();
    if (socket_) {  // the hand may have gone
      socket_->write((out_ + error).toUtf8() + status);
      socket_->disconnectFromServer();
    }
    deleteLater();
  }

  QPointer<QLocalSocket> socket_;
  QStringList words_;
  qsizetype at_ = 0;
  int phase_ = 0;
  QString out_;
  QTimer tick_;
  QElapsedTimer since_;
};

int hand(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QLocalSocket socket;
  for (int i = 0; i < 200 && socket.state() != QLocalSocket::ConnectedState; ++i) {
    socket.connectToServer(QString::fromLocal8Bit(argv[1]));
    if (!socket.waitForConnected(50)) QTest::qSleep(50);
  }
  QStringList words;
  for (int i = 2; i < argc; ++i) words << QString::fromLocal8Bit(argv[i]);
  socket.write(words.join('\x1f').toUtf8() + '\n');
  QByteArray answer;
  while (socket.waitForReadyRead(-1) || socket.bytesAvailable() > 0) answer += socket.readAll();
  if (answer.isEmpty()) return std::fputs("korvane-qt-driver: no window\n", stderr), 1;
  std::fwrite(answer.data(), 1, std::size_t(answer.size() - 1),
              answer.back() == '0' ? stdout : stderr);
  return answer.back() == '0' ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return std::fputs("usage: korvane-qt-driver [--listen] SOCKET ...\n", stderr), 2;
  if (std::string_view(argv[1]) != "--listen") return hand(argc, argv);
  // The tool's arguments as korvane-settei's own, the program's name in front.
  std::vector<std::string> toolArgs;
  for (int i = 3; i < argc; ++i) toolArgs.emplace_back(argv[i]);
  const korvane::Arguments args = korvane::ParseArguments(toolArgs);
  QApplication app(argc, argv);
  QApplication::setApplicationName(korvane::kProgramName);
  QLocalServer server;
  QLocalServer::removeServer(argv[2]);
  if (!server.listen(argv[2])) return std::fputs("korvane-qt-driver: no socket\n", stderr), 2;
  QObject::connect(&server, &QLocalServer::newConnection, [&server] {
    QLocalSocket* socket = server.nextPendingConnection();
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket] {
      if (!socket->canReadLine()) return;
      new Verbs(socket, QString::fromUtf8(socket->readLine().chopped(1)).split('\x1f'));
    });
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  });
  const std::filesystem::path own = korvane::LocalFilesFolder();
  return korvane::RunWindowProgram(args, args.dataFolder.value_or(own),
                                   args.portFolder.value_or(own));
}
