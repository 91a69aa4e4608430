// Sorting by a click on the "ファイル名" header.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTreeView>

#include "platform/forms/QtBridge.h"
#include "platform/winapi/CommandLine.h"
#include "platform/winapi/DropHandle.h"
#include "tests/support/QtTestSupport.h"
#include "ui/Unit1.h"

using namespace testsupport;

namespace {

using Names = std::vector<std::string>;

class Sorting : public ::testing::Test {
 protected:
  ~Sorting() override { Form1 = nullptr; }
  void Start(const Names& paths) {
    std::vector<const char*> argv{"delfiles"};
    for (const auto& p : paths) argv.push_back(p.c_str());
    SetProcessArguments(static_cast<int>(argv.size()), argv.data());
    Application->CreateForm(&Form1);
    Form1->Show();
  }
  // A click on the header, as the user makes it.
  void ClickHeader() {
    auto* view = static_cast<QTreeView*>(WidgetOf(Form1->ListView1));
    emit view->header()->sectionClicked(0);
    SyncListView(*Form1->ListView1);
  }
  Names Captions() const {
    Names out;
    TListItems* items = Form1->ListView1->Items();
    for (int i = 0; i < items->Count(); ++i) out.push_back(items->Item(i)->Caption);
    return out;
  }
  int Tag() const { return Form1->ListView1->Column(0)->Tag; }

  TestApplication app;
};

TEST_F(Sorting, EachClickReversesTheDirection) {
  struct Case {
    const char* label;
    Names start;
    Names firstClick;
    Names secondClick;
  } cases[] = {
      {"b, A, c", {"b", "A", "c"}, {"c", "b", "A"}, {"A", "b", "c"}},
      {"case-only differences are equal and keep their order",
       {"/x/Readme", "/x/README", "/x/readme", "/x/a"},
       {"/x/Readme", "/x/README", "/x/readme", "/x/a"},
       {"/x/a", "/x/Readme", "/x/README", "/x/readme"}},
      {"whole paths, not names", {"/b/a", "/a/z", "/a/b"}, {"/b/a", "/a/z", "/a/b"}, {"/a/b", "/a/z", "/b/a"}},
      {"empty list", {}, {}, {}},
      {"one entry", {"only"}, {"only"}, {"only"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    TestApplication local;
    Start(c.start);
    EXPECT_EQ(Tag(), 1);
    ClickHeader();
    EXPECT_EQ(Tag(), -1);
    EXPECT_EQ(Captions(), c.firstClick);
    ClickHeader();
    EXPECT_EQ(Tag(), 1);
    EXPECT_EQ(Captions(), c.secondClick);
    Form1 = nullptr;
  }
}

TEST_F(Sorting, DropAfterASortAppendsAndTheNextClickSortsAll) {
  Start({"b", "A", "c"});
  ClickHeader();  // descending
  TMessage drop{WM_DROPFILES, reinterpret_cast<WPARAM>(CreateDropHandle({"/z", "/0"})), 0, 0};
  ASSERT_TRUE(Form1->Dispatch(drop));
  EXPECT_EQ(Captions(), (Names{"c", "b", "A", "/z", "/0"}));
  ClickHeader();  // ascending, everything
  EXPECT_EQ(Captions(), (Names{"/0", "/z", "A", "b", "c"}));
}

TEST_F(Sorting, SelectionAndCurrentItemMoveWithTheirEntries) {
  Start({"b", "A", "c", "d"});
  SyncListView(*Form1->ListView1);
  auto* view = static_cast<QTreeView*>(WidgetOf(Form1->ListView1));
  // The user unselects "A" and "d" and leaves the cursor on "c".
  view->selectionModel()->select(view->model()->index(1, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
  view->selectionModel()->select(view->model()->index(3, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
  view->selectionModel()->setCurrentIndex(view->model()->index(2, 0), QItemSelectionModel::NoUpdate);
  ClickHeader();
  ASSERT_EQ(Captions(), (Names{"d", "c", "b", "A"}));
  TListItems* items = Form1->ListView1->Items();
  std::vector<bool> flags, shown;
  for (int i = 0; i < items->Count(); ++i) {
    flags.push_back(items->Item(i)->Selected);
    shown.push_back(view->selectionModel()->isRowSelected(i, {}));
  }
  EXPECT_EQ(flags, (std::vector<bool>{false, true, true, false}));
  EXPECT_EQ(shown, flags);
  EXPECT_EQ(view->currentIndex().row(), 1);
}

}  // namespace
