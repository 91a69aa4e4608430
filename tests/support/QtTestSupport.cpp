#include "tests/support/QtTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMessageBox>

namespace testsupport {

TestApplication::TestApplication() {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  Application = &app;
  app.Initialize();
}

TestApplication::~TestApplication() {}

DialogAnswerer::DialogAnswerer(std::initializer_list<std::pair<QString, QString>> s) : script(s) {
  QObject::connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
  timer_.start(10);
}

void DialogAnswerer::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || modal == last_) return;
  last_ = modal;
  Seen s;
  s.dialog = modal->objectName();
  s.title = modal->windowTitle();
  if (auto* box = qobject_cast<QMessageBox*>(modal)) s.text = box->text() + "\n" + box->informativeText();
  s.aboveOthers = modal->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
  s.parent = modal->parentWidget();
  seen.push_back(s);

  QString answer = QStringLiteral("Escape");
  if (!script.empty() && script.front().first == s.dialog) {
    answer = script.front().second;
    script.pop_front();
  }
  // Answer from the event loop, once the window's own loop is running.
  QTimer::singleShot(thinkMs, modal, [modal, answer] {
    if (answer == QLatin1String("Enter") || answer == QLatin1String("Escape")) {
      const int key = answer == QLatin1String("Enter") ? Qt::Key_Return : Qt::Key_Escape;
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
      QApplication::sendEvent(modal, &press);
      return;
    }
    if (auto* button = modal->findChild<QAbstractButton*>(answer)) button->click();
  });
}

bool WaitFor(const std::function<bool()>& done, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

}  // namespace testsupport
