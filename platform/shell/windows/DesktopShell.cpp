#include "platform/shell/windows/DesktopShell.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <functional>
#include <cerrno>
#include <mutex>
#include <thread>

#include "platform/forms/QtBridge.h"
#include "platform/shell/DeleteRequest.h"
#include "platform/winapi/MessageBox.h"
#include "platform/winapi/User.h"

namespace shell {

namespace {

// Paths are bytes; they are decoded here for display only, and very long
// ones are shortened in the middle so that a window stays on the screen.
QString Display(const std::string& bytes) {
  QString text = QString::fromUtf8(bytes);
  constexpr int kMax = 160;
  if (text.size() > kMax) text = text.left(kMax / 2 - 1) + QStringLiteral("…") + text.right(kMax / 2);
  return text;
}

// A path's folder and last name, trailing slashes aside.
std::pair<std::string, std::string> Split(const std::string& path) {
  std::string trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  const size_t slash = trimmed.rfind('/');
  if (slash == std::string::npos) return {".", trimmed};
  return {slash == 0 ? "/" : trimmed.substr(0, slash), trimmed.substr(slash + 1)};
}

QString NameOf(const std::string& path) { return Display(Split(path).second); }
QString FolderOf(const std::string& path) { return Display(Split(path).first); }

QString Reason(const trash::TrashResult& why) {
  switch (why.status) {
    case trash::TrashStatus::Done:
      return {};
    case trash::TrashStatus::NotFound:
      return QStringLiteral("ファイルが見つかりません。");
    case trash::TrashStatus::PermissionDenied:
      return QStringLiteral("アクセスが拒否されました。");
    case trash::TrashStatus::NoTrash:
      return QStringLiteral("このファイル システムにはごみ箱がありません。");
    case trash::TrashStatus::IoError:
      break;
  }
  switch (why.error) {
    case ENOSPC:
    case EDQUOT:
      return QStringLiteral("ディスクの空き領域が不足しています。");
    case EROFS:
      return QStringLiteral("読み取り専用のファイル システムです。");
    case EBUSY:
      return QStringLiteral("使用中か、マウント ポイントです。");
    case EINVAL:
      return QStringLiteral("この名前の項目は移動できません。");
    case ENAMETOOLONG:
      return QStringLiteral("パスが長すぎます。");
    case EEXIST:
      return QStringLiteral("ごみ箱に同じ名前の項目が多すぎます。");
    default:
      return QStringLiteral("入出力エラーが発生しました (エラー番号 %1)。").arg(why.error);
  }
}

// Every shell window stays above the stay-on-top main window.
void KeepOnTop(QWidget* window) { window->setWindowFlag(Qt::WindowStaysOnTopHint, true); }

QAbstractButton* AddButton(QMessageBox& box, const QString& text, QMessageBox::ButtonRole role, const char* name) {
  QPushButton* button = box.addButton(text, role);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

// Swallows the user's input to the main window while a request runs, as
// the blocked window of a single-threaded program would: no second OK, no
// closing it half way. Its own windows stay usable.
class InputBlocker : public QObject {
 public:
  explicit InputBlocker(QWidget* window) : window_(window) { qApp->installEventFilter(this); }
  ~InputBlocker() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* target, QEvent* event) override {
    if (!window_) return false;
    auto* widget = qobject_cast<QWidget*>(target);
    if (!widget || widget->window() != window_) return false;
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Wheel:
      case QEvent::Shortcut:
      case QEvent::DragEnter:
      case QEvent::Drop:
        return true;
      case QEvent::Close:
        event->ignore();
        return true;
      default:
        return false;
    }
  }

 private:
  QPointer<QWidget> window_;
};

// The shell's windows for one request. Lives on the user-interface thread;
// the request runs on a worker and its questions come over here.
class WindowPrompts : public ShellPrompts {
 public:
  explicit WindowPrompts(QWidget* owner) : owner_(owner) {}
  ~WindowPrompts() override { delete progress_; }

  bool ConfirmRecycle(HWND, const std::vector<std::string>& paths) override {
    const bool one = paths.size() == 1;
    const int answer = Ask(
        "confirmRecycle", QStringLiteral("ファイルの削除"), QMessageBox::Question,
        one ? QStringLiteral("このファイルをごみ箱に移動しますか?")
            : QStringLiteral("これらの %1 個の項目をごみ箱に移動しますか?").arg(paths.size()),
        one ? QStringLiteral("%1\n場所: %2").arg(NameOf(paths[0]), FolderOf(paths[0])) : QString(),
        {{QStringLiteral("はい(&Y)"), QMessageBox::YesRole, "yes"}, {QStringLiteral("いいえ(&N)"), QMessageBox::NoRole, "no"}},
        /*defaultChoice=*/0, /*escapeChoice=*/1, /*onYes=*/[this] { started_.start(); });
    return answer == 0;
  }

  NoTrashAnswer AskDeletePermanently(const std::string& path) override {
    static constexpr NoTrashAnswer kAnswers[] = {NoTrashAnswer::Yes, NoTrashAnswer::YesToAll, NoTrashAnswer::No,
                                                 NoTrashAnswer::Cancel};
    // Deleting for good is never the answer of a stray Enter: "no" is the default.
    return kAnswers[Ask("noTrash", QStringLiteral("ごみ箱を使用できません"), QMessageBox::Warning,
                        QStringLiteral("「%1」はごみ箱に移動できません。完全に削除しますか?").arg(NameOf(path)),
                        QStringLiteral("このファイル システムにはごみ箱がありません。完全に削除すると元に戻せません。\n"
                                       "場所: %1")
                            .arg(FolderOf(path)),
                        {{QStringLiteral("はい(&Y)"), QMessageBox::YesRole, "yes"},
                         {QStringLiteral("すべてはい(&A)"), QMessageBox::YesRole, "yesToAll"},
                         {QStringLiteral("いいえ(&N)"), QMessageBox::NoRole, "no"},
                         {QStringLiteral("キャンセル"), QMessageBox::RejectRole, "cancel"}},
                        /*defaultChoice=*/2, /*escapeChoice=*/3)];
  }

  ErrorAnswer OperationFailed(const std::string& path, const trash::TrashResult& why) override {
    static constexpr ErrorAnswer kAnswers[] = {ErrorAnswer::Retry, ErrorAnswer::Skip, ErrorAnswer::SkipAll,
                                               ErrorAnswer::Cancel};
    return kAnswers[Ask("operationFailed", QStringLiteral("ファイルの削除エラー"), QMessageBox::Warning,
                        QStringLiteral("「%1」を削除できませんでした。").arg(NameOf(path)),
                        QStringLiteral("%1\n場所: %2").arg(Reason(why), FolderOf(path)),
                        {{QStringLiteral("再試行(&R)"), QMessageBox::AcceptRole, "retry"},
                         {QStringLiteral("スキップ(&S)"), QMessageBox::AcceptRole, "skip"},
                         {QStringLiteral("すべてスキップ(&A)"), QMessageBox::AcceptRole, "skipAll"},
                         {QStringLiteral("キャンセル"), QMessageBox::RejectRole, "cancel"}},
                        /*defaultChoice=*/1, /*escapeChoice=*/3)];
  }

  void Progress(size_t done, size_t total, const std::string& current) override {
    std::lock_guard<std::mutex> lock(mutex_);
    done_ = done;
    total_ = total;
    current_ = current;
  }

  bool Cancelled() override { return cancelled_; }

  // On the user-interface thread, every tick while the request runs.
  void Tick() {
    if (!started_.isValid()) return;
    if (!progress_) {
      if (started_.elapsed() < DesktopShell::kProgressDelayMs) return;
      progress_ = new QProgressDialog(owner_);
      progress_->setObjectName(QStringLiteral("progress"));
      progress_->setWindowTitle(QStringLiteral("ごみ箱に移動しています"));
      progress_->setCancelButtonText(QStringLiteral("キャンセル"));
      progress_->setAutoClose(false);
      progress_->setAutoReset(false);
      progress_->setMinimumDuration(0);
      progress_->setMinimumWidth(360);
      progress_->setWindowModality(Qt::NonModal);
      KeepOnTop(progress_);
      QObject::connect(progress_, &QProgressDialog::canceled, [this] { cancelled_ = true; });
    }
    size_t done, total;
    std::string current;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done = done_;
      total = total_;
      current = current_;
    }
    progress_->setMaximum(static_cast<int>(std::min<size_t>(total, INT32_MAX)));
    progress_->setValue(static_cast<int>(std::min<size_t>(done, INT32_MAX)));
    progress_->setLabelText(QStringLiteral("%1\n%2 / %3 個").arg(NameOf(current)).arg(done).arg(total));
    if (!progress_->isVisible()) progress_->show();
  }

 private:
  struct Choice {
    QString text;
    QMessageBox::ButtonRole role;
    const char* name;  // the button's object name
  };

  // Asks a question in a modal box above the main window, on the user-
  // interface thread, and returns the index of the choice taken (Esc takes
  // `escapeChoice`). `onYes` runs there too when the first choice is taken.
  int Ask(const char* name, const QString& title, QMessageBox::Icon icon, const QString& text, const QString& detail,
          std::initializer_list<Choice> choices, int defaultChoice, int escapeChoice,
          const std::function<void()>& onYes = {}) {
    int answer = escapeChoice;
    OnGui([&] {
      QMessageBox box(owner_);
      box.setObjectName(QString::fromLatin1(name));
      box.setWindowTitle(title);
      box.setIcon(icon);
      box.setText(text);
      if (!detail.isEmpty()) box.setInformativeText(detail);
      std::vector<QAbstractButton*> buttons;
      for (const Choice& choice : choices) buttons.push_back(AddButton(box, choice.text, choice.role, choice.name));
      box.setDefaultButton(static_cast<QPushButton*>(buttons[static_cast<size_t>(defaultChoice)]));
      box.setEscapeButton(buttons[static_cast<size_t>(escapeChoice)]);
      KeepOnTop(&box);
      box.exec();
      auto taken = std::find(buttons.begin(), buttons.end(), box.clickedButton());
      if (taken != buttons.end()) answer = static_cast<int>(taken - buttons.begin());
      if (answer == 0 && onYes) onYes();
    });
    return answer;
  }

  // Runs `work` on the user-interface thread and waits for it.
  template <class Work>
  void OnGui(Work&& work) {
    if (QThread::currentThread() == qApp->thread()) {
      work();
      return;
    }
    QMetaObject::invokeMethod(&context_, std::forward<Work>(work), Qt::BlockingQueuedConnection);
  }

  QPointer<QWidget> owner_;
  QObject context_;  // lives on the user-interface thread
  QElapsedTimer started_;
  QProgressDialog* progress_ = nullptr;
  std::atomic<bool> cancelled_{false};
  std::mutex mutex_;
  size_t done_ = 0, total_ = 0;
  std::string current_;
};

// Runs each request on a worker thread, so that the windows keep painting
// while files move, and blocks its caller until the request is done, as a
// shell call does.
class WindowExecutor : public RequestExecutor {
 public:
  RequestOutcome Execute(const DeleteRequest& request) override {
    QWidget* owner = WidgetForHandle(request.owner);
    WindowPrompts prompts(owner);
    InputBlocker blocker(owner ? owner->window() : nullptr);
    RequestOutcome outcome;
    QEventLoop loop;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { prompts.Tick(); });
    ticker.start(50);
    std::thread worker([&] {
      trash::TrashEngine engine;
      outcome = RecyclePaths(request, prompts, engine);
      QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    return outcome;
  }
};

class WindowMessageBox : public MessageBoxHandler {
 public:
  int Show(HWND owner, const std::string& text, const std::string& caption, UINT type) override {
    QString body = QString::fromUtf8(text);
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(WidgetForHandle(owner));
    box.setObjectName(QStringLiteral("messageBox"));
    box.setWindowTitle(QString::fromUtf8(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(body);
    box.setIcon((type & 0xF0) == MB_ICONINFORMATION ? QMessageBox::Information : QMessageBox::NoIcon);
    QAbstractButton* ok = AddButton(box, QStringLiteral("OK"), QMessageBox::AcceptRole, "ok");
    box.setDefaultButton(static_cast<QPushButton*>(ok));
    box.setEscapeButton(ok);
    KeepOnTop(&box);
    box.exec();
    return IDOK;
  }
};

}  // namespace

struct DesktopShell::Parts {
  WindowExecutor executor;
  WindowMessageBox messageBox;
  RequestExecutor* oldExecutor = nullptr;
  MessageBoxHandler* oldMessageBox = nullptr;
};

DesktopShell::DesktopShell() : parts_(std::make_unique<Parts>()) {
  parts_->oldExecutor = SetRequestExecutor(&parts_->executor);
  parts_->oldMessageBox = SetMessageBoxHandler(&parts_->messageBox);
}

DesktopShell::~DesktopShell() {
  SetRequestExecutor(parts_->oldExecutor);
  SetMessageBoxHandler(parts_->oldMessageBox);
}

}  // namespace shell
