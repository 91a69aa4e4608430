// The list view shows the items and keeps its selection in step with
// their flags, both ways.
#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QTreeView>

#include "platform/forms/QtBridge.h"
#include "tests/support/QtTestSupport.h"

using namespace testsupport;

namespace {

class ListView : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"b", "A", "c", "d"}) {
      TListItem* item = list->Items()->Add();
      item->Caption = name;
      item->Selected = true;
    }
  }
  std::vector<bool> ViewSelection() {
    std::vector<bool> rows;
    for (int i = 0; i < view->model()->rowCount(); ++i) rows.push_back(view->selectionModel()->isRowSelected(i, {}));
    return rows;
  }
  std::vector<bool> Flags() {
    std::vector<bool> flags;
    for (int i = 0; i < list->Items()->Count(); ++i) flags.push_back(list->Items()->Item(i)->Selected);
    return flags;
  }
  std::vector<std::string> Captions() {
    std::vector<std::string> out;
    for (int i = 0; i < list->Items()->Count(); ++i) out.push_back(list->Items()->Item(i)->Caption);
    return out;
  }

  TestApplication app;
  TForm form{&app.app};
  TListView* list = new TListView(&form);
  QTreeView* view = static_cast<QTreeView*>(WidgetOf(list));
};

TEST_F(ListView, ProgramChangesReachTheViewInOneBatch) {
  list->Items()->Item(1)->Selected = false;
  SyncListView(*list);
  EXPECT_EQ(view->model()->rowCount(), 4);
  EXPECT_EQ(ViewSelection(), (std::vector<bool>{true, false, true, true}));
  EXPECT_EQ(view->model()->data(view->model()->index(1, 0)).toString(), "A");
  // The same happens on its own once control returns to the event loop.
  list->Items()->Item(3)->Selected = false;
  list->Items()->Add()->Caption = "e";
  EXPECT_TRUE(WaitFor([&] { return view->model()->rowCount() == 5; }));
  EXPECT_EQ(ViewSelection(), (std::vector<bool>{true, false, true, false, false}));
}

TEST_F(ListView, UserChangesReachTheItemsAtOnce) {
  SyncListView(*list);
  view->selectionModel()->select(view->model()->index(2, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
  EXPECT_EQ(Flags(), (std::vector<bool>{true, true, false, true}));
  view->clearSelection();
  EXPECT_EQ(Flags(), (std::vector<bool>{false, false, false, false}));
  view->selectionModel()->select(QItemSelection(view->model()->index(0, 0), view->model()->index(3, 0)),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
  EXPECT_EQ(Flags(), (std::vector<bool>{true, true, true, true}));
}

TEST_F(ListView, SortMovesFlagsAndTheCurrentItemWithTheirItems) {
  list->Items()->Item(0)->Selected = false;  // "b"
  SyncListView(*list);
  view->selectionModel()->setCurrentIndex(view->model()->index(2, 0), QItemSelectionModel::NoUpdate);  // "c"
  list->OnCompare = [](TObject*, TListItem* a, TListItem* b, int data, int& compare) {
    compare = (a->Caption < b->Caption ? -1 : a->Caption > b->Caption ? 1 : 0) * data;
  };
  ASSERT_TRUE(list->CustomSort(nullptr, -1));
  EXPECT_EQ(Captions(), (std::vector<std::string>{"d", "c", "b", "A"}));
  EXPECT_EQ(Flags(), (std::vector<bool>{true, true, false, true}));
  EXPECT_EQ(ViewSelection(), Flags());
  EXPECT_EQ(view->currentIndex().row(), 1);
  list->OnCompare = nullptr;
  EXPECT_FALSE(list->CustomSort(nullptr, 1));
}

}  // namespace
