// The main window on the offscreen platform, with the real shell windows
// answered by a stand-in user, on real files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include "platform/forms/FormDescription.h"
#include "platform/forms/QtBridge.h"
#include "platform/shell/windows/DesktopShell.h"
#include "platform/winapi/CommandLine.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TempDir.h"
#include "ui/Unit1.h"

using namespace testsupport;

std::string_view Unit1FormDescription();
namespace {

const QString kReportHeader = QString::fromUtf8("以下のファイルを削除できませんでした");

class MainWindow : public ::testing::Test {
 protected:
  ~MainWindow() override { Form1 = nullptr; }

  void Start(std::vector<std::string> args) {
    args.insert(args.begin(), "/usr/bin/delfiles");
    args_ = std::move(args);  // argv strings must outlive their use, as a process's do
    std::vector<const char*> argv;
    for (const auto& a : args_) argv.push_back(a.c_str());
    SetProcessArguments(static_cast<int>(argv.size()), argv.data());
    Application->CreateForm(&Form1);
    Form1->Show();
    SyncListView(*Form1->ListView1);
  }
  std::vector<std::pair<std::string, bool>> Entries() const {
    std::vector<std::pair<std::string, bool>> out;
    TListItems* items = Form1->ListView1->Items();
    for (int i = 0; i < items->Count(); ++i) out.emplace_back(items->Item(i)->Caption, items->Item(i)->Selected);
    return out;
  }
  QTreeView* View() const { return static_cast<QTreeView*>(WidgetOf(Form1->ListView1)); }
  void Click(TControl* control) { static_cast<QAbstractButton*>(WidgetOf(control))->click(); }
  void Drop(const std::string& uriList) {
    QMimeData mime;
    mime.setData(QStringLiteral("text/uri-list"), QByteArray(uriList.data(), static_cast<qsizetype>(uriList.size())));
    QWidget* window = WidgetOf(Form1);
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    EXPECT_TRUE(drop.isAccepted());
  }

  std::vector<std::string> args_;
  TempDir tmp;
  ScopedEnv trashHome{"XDG_DATA_HOME", tmp / "data"};
  TestApplication app;
  shell::DesktopShell desktop;
};

using Entries_t = std::vector<std::pair<std::string, bool>>;

TEST_F(MainWindow, ListsTheArgumentsSelectedAndLeavesOptionsToNobody) {
  Start({tmp / "b", "-style", "--reverse", "-platform", tmp / "b"});
  EXPECT_EQ(Entries(), (Entries_t{{tmp / "b", true}, {"-style", true}, {"--reverse", true}, {"-platform", true}, {tmp / "b", true}}));
  EXPECT_EQ(View()->selectionModel()->selectedRows().size(), 5);
  EXPECT_EQ(QApplication::arguments(), QStringList{"delfiles"});
  EXPECT_EQ(QApplication::layoutDirection(), Qt::LeftToRight);  // "--reverse" was not the toolkit's
  EXPECT_TRUE(Form1->Visible());
}

TEST_F(MainWindow, DropsAppendSelectedAndKeepEarlierSelections) {
  Start({"/first", "/second"});
  // The user unselects the first entry in the list.
  View()->selectionModel()->select(View()->model()->index(0, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
  ASSERT_FALSE(Form1->ListView1->Items()->Item(0)->Selected);
  const std::string longName(300, 'n');
  Drop("file:///tmp/caf%E9%FF.txt\r\nfile:///tmp/" + longName + "\r\nhttps://example.com/x\r\nfile:///second\r\n");
  EXPECT_EQ(Entries(), (Entries_t{{"/first", false},
                                 {"/second", true},
                                 {"/tmp/caf\xe9\xff.txt", true},
                                 {"/tmp/" + longName, true},
                                 {"/second", true}}));
  EXPECT_TRUE(WaitFor([&] { return View()->selectionModel()->selectedRows().size() == 4; }));
  EXPECT_FALSE(View()->selectionModel()->isRowSelected(0, {}));
}

TEST_F(MainWindow, OkSendsTheSelectionToTheTrashWhenConfirmed) {
  struct Case {
    const char* label;
    const char* answer;
    bool trashed;
  } cases[] = {{"Enter confirms", "Enter", true}, {"Yes confirms", "yes", true}, {"Escape declines", "Escape", false},
               {"No declines", "no", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir files;
    WriteFile(files / "one");
    WriteFile(files / "two");
    WriteFile(files / "kept");
    TestApplication local;  // a fresh window each time
    Start({files / "one", files / "kept", files / "two"});
    Form1->ListView1->Items()->Item(1)->Selected = false;
    DialogAnswerer user({{"confirmRecycle", c.answer}});
    Click(Form1->Button1);
    ASSERT_EQ(user.seen.size(), 1u);
    EXPECT_EQ(user.seen[0].dialog, "confirmRecycle");
    EXPECT_TRUE(user.seen[0].text.contains(QStringLiteral("2 個の項目")));
    EXPECT_TRUE(user.seen[0].aboveOthers);
    EXPECT_EQ(user.seen[0].parent, WidgetOf(Form1));
    EXPECT_EQ(Exists(files / "one"), !c.trashed);
    EXPECT_EQ(Exists(files / "two"), !c.trashed);
    EXPECT_TRUE(Exists(files / "kept"));
    EXPECT_FALSE(Form1->Visible());  // the window closes either way
    Form1 = nullptr;
  }
}

TEST_F(MainWindow, ErrorWindowsLetTheUserSkipAndGoOn) {
  WriteFile(tmp / "real");
  Start({tmp / "missing", tmp / "real"});
  DialogAnswerer user({{"confirmRecycle", "yes"}, {"operationFailed", "skip"}});
  Click(Form1->Button1);
  ASSERT_EQ(user.seen.size(), 2u);
  EXPECT_EQ(user.seen[1].dialog, "operationFailed");
  EXPECT_TRUE(user.seen[1].text.contains(QStringLiteral("ファイルが見つかりません")));
  EXPECT_TRUE(user.seen[1].aboveOthers);
  EXPECT_FALSE(Exists(tmp / "real"));
  EXPECT_EQ(ListDir(tmp / "data/Trash/files"), std::vector<std::string>{"real"});
}

TEST_F(MainWindow, LongRunsShowProgressWithAWorkingCancel) {
  // However fast the disk, this run lasts: the user takes a while over the
  // error window of the missing file, and the progress window comes up.
  constexpr int kCount = 2000, kMissingAt = 10;
  MakeDir(tmp / "many");
  std::vector<std::string> paths;
  for (int i = 0; i < kCount; ++i) {
    paths.push_back(tmp / ("many/f" + std::to_string(i)));
    if (i == kMissingAt) continue;
    WriteFile(paths.back());
  }
  Start(paths);
  DialogAnswerer user({{"confirmRecycle", "yes"}, {"operationFailed", "skip"}});
  user.thinkMs = 2 * shell::DesktopShell::kProgressDelayMs;
  QString shown;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() != "progress" || !w->isVisible() || !shown.isEmpty()) continue;
      shown = w->findChild<QLabel*>()->text();
      EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
      w->findChild<QPushButton*>()->click();  // the user cancels
    }
  });
  poll.start(20);
  Click(Form1->Button1);
  poll.stop();
  ASSERT_FALSE(shown.isEmpty()) << "no progress window";
  EXPECT_TRUE(shown.contains(QStringLiteral(" / 2000 個"))) << shown.toStdString();
  // Cancel stops the run before the next file: only those before the
  // missing one went.
  EXPECT_EQ(ListDir(tmp / "data/Trash/files").size(), static_cast<size_t>(kMissingAt));
  EXPECT_EQ(ListDir(tmp / "many").size(), static_cast<size_t>(kCount - kMissingAt - 1));
  EXPECT_FALSE(Form1->Visible());
}

TEST_F(MainWindow, PermanentModeReportsFailuresInOneMessageBox) {
  WriteFile(tmp / "gone");
  MakeDir(tmp / "folder");
  Start({tmp / "gone", tmp / "folder", tmp / "\xff-missing"});
  static_cast<QCheckBox*>(WidgetOf(Form1->CheckBox1))->setChecked(true);
  DialogAnswerer user({{"messageBox", "ok"}});
  Click(Form1->Button1);
  ASSERT_EQ(user.seen.size(), 1u);
  EXPECT_EQ(user.seen[0].title, QString::fromUtf8("削除失敗"));
  EXPECT_EQ(user.seen[0].text.trimmed(), kReportHeader + "\n\n" + QString::fromUtf8(tmp / "folder") + "\n" +
                                             QString::fromUtf8(tmp / "\xff-missing"));
  EXPECT_TRUE(user.seen[0].aboveOthers);
  EXPECT_EQ(user.seen[0].parent, WidgetOf(Form1));
  EXPECT_FALSE(Exists(tmp / "gone"));
  EXPECT_TRUE(Exists(tmp / "folder"));
  EXPECT_FALSE(Exists(tmp / "data/Trash"));
  EXPECT_FALSE(Form1->Visible());
}

TEST_F(MainWindow, CancelAndTheCloseButtonDeleteNothing) {
  for (bool viaCancel : {true, false}) {
    SCOPED_TRACE(viaCancel ? "Cancel" : "close button");
    TempDir files;
    WriteFile(files / "f");
    TestApplication local;
    Start({files / "f"});
    DialogAnswerer user;
    if (viaCancel)
      Click(Form1->Button2);
    else
      WidgetOf(Form1)->close();
    QApplication::processEvents();
    EXPECT_FALSE(Form1->Visible());
    EXPECT_TRUE(user.seen.empty());
    EXPECT_TRUE(Exists(files / "f"));
    Form1 = nullptr;
  }
}

TEST_F(MainWindow, SpacePressesOkAndEnterPressesNothing) {
  WriteFile(tmp / "f");
  Start({tmp / "f"});
  DialogAnswerer user({{"confirmRecycle", "no"}});
  auto key = [](QWidget* target, int code) {
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, code == Qt::Key_Space ? " " : "\r");
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, code == Qt::Key_Space ? " " : "\r");
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
  };
  QWidget* focused = WidgetOf(Form1)->focusWidget();
  ASSERT_EQ(focused, WidgetOf(Form1->Button1));
  key(focused, Qt::Key_Return);  // no default button: nothing happens
  QApplication::processEvents();
  EXPECT_TRUE(Form1->Visible());
  EXPECT_TRUE(user.seen.empty());
  key(focused, Qt::Key_Space);
  EXPECT_TRUE(WaitFor([&] { return !Form1->Visible(); }));
  ASSERT_EQ(user.seen.size(), 1u);
  EXPECT_EQ(user.seen[0].dialog, "confirmRecycle");
  EXPECT_TRUE(user.seen[0].text.contains(QStringLiteral("このファイル")));  // one file: named, not counted
  EXPECT_TRUE(user.seen[0].text.contains(QStringLiteral("f\n")));
  EXPECT_TRUE(Exists(tmp / "f"));
}

TEST_F(MainWindow, NoTrashAsksBeforeDeletingForGood) {
  TmpfsMount fs;
  if (!fs.mounted()) GTEST_SKIP() << "needs root to mount a tmpfs";
  WriteFile(fs.path() + "/.Trash-" + std::to_string(geteuid()));  // this file system has no usable trash
  struct Case {
    const char* label;
    const char* answer;
    bool deleted;
  } cases[] = {{"Enter means no", "Enter", false}, {"no", "no", false}, {"yes", "yes", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    WriteFile(fs.path() + "/f", "data");
    TestApplication local;
    Start({fs.path() + "/f"});
    DialogAnswerer user({{"confirmRecycle", "yes"}, {"noTrash", c.answer}});
    Click(Form1->Button1);
    ASSERT_EQ(user.seen.size(), 2u);
    EXPECT_EQ(user.seen[1].dialog, "noTrash");
    EXPECT_TRUE(user.seen[1].text.contains(QStringLiteral("完全に削除しますか")));
    EXPECT_TRUE(user.seen[1].aboveOthers);
    EXPECT_EQ(!Exists(fs.path() + "/f"), c.deleted);
    Form1 = nullptr;
  }
}

TEST_F(MainWindow, MatchesItsFormDescription) {
  Start({});
  DfmObject root;
  std::string error;
  ASSERT_TRUE(ParseFormDescription(std::string(Unit1FormDescription()), root, error)) << error;
  auto prop = [](const DfmObject& o, const std::string& name) -> const DfmValue& {
    for (const auto& p : o.properties)
      if (p.name == name) return p.value;
    static DfmValue none;
    ADD_FAILURE() << o.name << " has no " << name;
    return none;
  };
  QWidget* window = WidgetOf(Form1);
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8("ファイルの削除"));
  EXPECT_EQ(Form1->ClientWidth(), prop(root, "Width").integer - 8);
  EXPECT_EQ(Form1->ClientHeight(), prop(root, "Height").integer - 27);
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window->acceptDrops());
  EXPECT_EQ(window->font().pixelSize(), 12);
  EXPECT_TRUE(window->font().families().contains("IPAPGothic"));

  std::map<std::string, TControl*> controls{{"Label2", Form1->Label2},   {"Label3", Form1->Label3},
                                            {"Button1", Form1->Button1}, {"Button2", Form1->Button2},
                                            {"ListView1", Form1->ListView1}, {"CheckBox1", Form1->CheckBox1}};
  ASSERT_EQ(root.children.size(), controls.size());
  for (const auto& child : root.children) {
    SCOPED_TRACE(child.name);
    TControl* control = controls.at(child.name);
    QWidget* w = WidgetOf(control);
    EXPECT_EQ(control->Left(), prop(child, "Left").integer);
    EXPECT_EQ(control->Top(), prop(child, "Top").integer);
    if (child.className == "TLabel") {
      // Labels size themselves to their text: never cut, never past the window.
      const QFontMetrics metrics(w->font());
      EXPECT_GE(w->width(), metrics.horizontalAdvance(static_cast<QLabel*>(w)->text()));
      EXPECT_LE(w->geometry().right(), window->width() - 4);
    } else {
      EXPECT_EQ(control->Width(), prop(child, "Width").integer);
      EXPECT_EQ(control->Height(), prop(child, "Height").integer);
      EXPECT_EQ(control->TabOrder(), prop(child, "TabOrder").integer);
      EXPECT_EQ(QString::fromStdString(control->Caption()),
                child.className == "TListView" ? QString() : QString::fromUtf8(prop(child, "Caption").text));
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
      EXPECT_FALSE(button->isDefault());
      EXPECT_FALSE(button->autoDefault());
    }
  }
  // Tab order as described, with the first focus on OK.
  EXPECT_EQ(window->focusWidget(), WidgetOf(Form1->Button1)) << (window->focusWidget() ? window->focusWidget()->metaObject()->className() : "none");
  // Where Tab goes next: the next widget in the chain that takes the
  // focus by Tab, not counting a control's own parts.
  auto next = [](QWidget* w) {
    QWidget* n = w->nextInFocusChain();
    while (n != w && (!(n->focusPolicy() & Qt::TabFocus) || w->isAncestorOf(n))) n = n->nextInFocusChain();
    return n;
  };
  EXPECT_EQ(next(WidgetOf(Form1->Button1)), WidgetOf(Form1->Button2));
  EXPECT_EQ(next(WidgetOf(Form1->Button2)), WidgetOf(Form1->ListView1));
  EXPECT_EQ(next(WidgetOf(Form1->ListView1)), WidgetOf(Form1->CheckBox1));
  EXPECT_EQ(next(WidgetOf(Form1->CheckBox1)), WidgetOf(Form1->Button1));
  EXPECT_FALSE(Form1->CheckBox1->Checked());

  QTreeView* view = View();
  EXPECT_FALSE(view->isHeaderHidden());
  EXPECT_TRUE(view->header()->sectionsClickable());
  EXPECT_EQ(view->header()->sectionSize(0), 290);
  EXPECT_EQ(view->model()->headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("ファイル名"));
  EXPECT_EQ(Form1->ListView1->Column(0)->Tag, 1);
  EXPECT_EQ(view->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(view->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(view->palette().color(QPalette::Inactive, QPalette::Highlight),
            view->palette().color(QPalette::Active, QPalette::Highlight));
}

}  // namespace
