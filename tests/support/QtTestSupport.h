// Qt fixtures for window tests on the offscreen platform: an application
// per test, and a stand-in user who answers the windows that come up.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <initializer_list>
#include <vector>

#include "platform/forms/Forms.h"

namespace testsupport {

// Makes and initialises an application object for one test.
class TestApplication {
 public:
  TestApplication();
  ~TestApplication();
  TApplication app{nullptr};
};

// Waits for modal windows and answers each as scripted: a button's object
// name, or "Enter" / "Escape" as keys. Unscripted windows are recorded and
// dismissed with Escape, so that a test never hangs on them.
class DialogAnswerer : public QObject {
 public:
  struct Seen {
    QString dialog;  // object name
    QString title;
    QString text;    // text and informative text
    bool aboveOthers = false;  // has the stay-on-top flag
    QWidget* parent = nullptr;
  };
  DialogAnswerer(std::initializer_list<std::pair<QString, QString>> script = {});
  std::vector<Seen> seen;
  std::deque<std::pair<QString, QString>> script;  // dialog object name, answer
  int thinkMs = 0;  // how long the user looks at each window before answering

 private:
  void Poll();
  QTimer timer_;
  QPointer<QWidget> last_;
};

// Processes events until `done` or about `ms` milliseconds pass.
bool WaitFor(const std::function<bool()>& done, int ms = 5000);

}  // namespace testsupport
