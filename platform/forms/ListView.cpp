#include <QAbstractTableModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPalette>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

#include "platform/forms/Properties.h"
#include "platform/forms/QtBridge.h"

namespace {

// Shows a TListItems in a view. The items' flags are the truth: changes the
// program makes reach the view in one batch when control returns to the
// event loop; changes the user makes in the view are copied to the items
// at once.
class ItemsModel : public QAbstractTableModel, public TListItemsListener {
 public:
  ItemsModel(TListView& owner, QTreeView& view) : owner_(owner), view_(view) {
    owner_.Items()->SetListener(this);
  }
  ~ItemsModel() override { owner_.Items()->SetListener(nullptr); }

  void Attach() {
    QObject::connect(view_.selectionModel(), &QItemSelectionModel::selectionChanged, this,
                     [this](const QItemSelection& selected, const QItemSelection& deselected) {
                       CopyToItems(selected, true);
                       CopyToItems(deselected, false);
                     });
    QObject::connect(view_.selectionModel(), &QItemSelectionModel::currentChanged, this,
                     [this](const QModelIndex& current) {
                       current_ = current.isValid() && current.row() < owner_.Items()->Count()
                                      ? owner_.Items()->Item(current.row())
                                      : nullptr;
                     });
  }

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : shownRows_; }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : std::max(1, owner_.ColumnCount());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || index.column() != 0 || index.row() >= owner_.Items()->Count()) return {};
    // Paths are bytes; they are decoded here for display only.
    return QString::fromUtf8(owner_.Items()->Item(index.row())->Caption);
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= owner_.ColumnCount()) return {};
    return QString::fromStdString(owner_.Column(section)->Caption);
  }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
  }

  void ColumnsChanged() {
    beginResetModel();
    endResetModel();
    RebuildSelection();
  }

  // Brings the view up to date with the items now.
  void Sync() {
    pending_ = false;
    const int count = owner_.Items()->Count();
    if (shownRows_ < count) {
      beginInsertRows(QModelIndex(), shownRows_, count - 1);
      shownRows_ = count;
      endInsertRows();
    }
    if (dirtyRows_.empty()) return;
    std::sort(dirtyRows_.begin(), dirtyRows_.end());
    dirtyRows_.erase(std::unique(dirtyRows_.begin(), dirtyRows_.end()), dirtyRows_.end());
    QItemSelection select, deselect;
    const int columns = columnCount(QModelIndex()) - 1;
    for (size_t i = 0; i < dirtyRows_.size();) {
      // Runs of neighbouring rows wanting the same state go as one range.
      const int first = dirtyRows_[i];
      const bool selected = owner_.Items()->Item(first)->Selected;
      size_t j = i + 1;
      while (j < dirtyRows_.size() && dirtyRows_[j] == dirtyRows_[j - 1] + 1 &&
             static_cast<bool>(owner_.Items()->Item(dirtyRows_[j])->Selected) == selected)
        ++j;
      QItemSelectionRange range(index(first, 0), index(dirtyRows_[j - 1], columns));
      (selected ? select : deselect).append(range);
      i = j;
    }
    dirtyRows_.clear();
    Guard guard(syncing_);
    if (!deselect.isEmpty()) view_.selectionModel()->select(deselect, QItemSelectionModel::Deselect);
    if (!select.isEmpty()) view_.selectionModel()->select(select, QItemSelectionModel::Select);
  }

  // TListItemsListener
  void ItemsAppended(int, int) override { Schedule(); }
  void ItemSelectionChanged(int index) override {
    if (syncing_) return;
    dirtyRows_.push_back(index);
    Schedule();
  }
  void ItemsReordered() override {
    TListItem* current = current_;
    dirtyRows_.clear();
    pending_ = false;
    {
      Guard guard(syncing_);
      beginResetModel();
      shownRows_ = owner_.Items()->Count();
      endResetModel();
    }
    RebuildSelection();
    if (current) {
      Guard guard(syncing_);
      view_.selectionModel()->setCurrentIndex(index(current->Index(), 0), QItemSelectionModel::NoUpdate);
    }
  }

 private:
  struct Guard {
    explicit Guard(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~Guard() { flag_ = old_; }
    bool& flag_;
    bool old_;
  };

  void Schedule() {
    if (pending_) return;
    pending_ = true;
    QTimer::singleShot(0, this, [this] {
      if (pending_) Sync();
    });
  }

  void RebuildSelection() {
    QItemSelection selection;
    const TListItems* items = owner_.Items();
    const int columns = columnCount(QModelIndex()) - 1;
    for (int i = 0; i < shownRows_;) {
      if (!items->Item(i)->Selected) {
        ++i;
        continue;
      }
      int j = i + 1;
      while (j < shownRows_ && items->Item(j)->Selected) ++j;
      selection.append(QItemSelectionRange(index(i, 0), index(j - 1, columns)));
      i = j;
    }
    Guard guard(syncing_);
    view_.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  }

  void CopyToItems(const QItemSelection& ranges, bool selected) {
    if (syncing_) return;
    Guard guard(syncing_);
    TListItems* items = owner_.Items();
    for (const QItemSelectionRange& range : ranges) {
      for (int row = range.top(); row <= range.bottom() && row < items->Count(); ++row) {
        items->Item(row)->Selected = selected;
      }
    }
  }

  TListView& owner_;
  QTreeView& view_;
  int shownRows_ = 0;
  bool pending_ = false;
  bool syncing_ = false;
  std::vector<int> dirtyRows_;
  TListItem* current_ = nullptr;
};

class ListViewWidget : public QTreeView {
 public:
  explicit ListViewWidget(QWidget* parent) : QTreeView(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);  // keeps very long lists fast
    setTextElideMode(Qt::ElideRight);
    setSortingEnabled(false);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setSortIndicatorShown(false);
  }
  ItemsModel* model_ = nullptr;
};

ListViewWidget* View(const TControlImpl& impl) { return static_cast<ListViewWidget*>(impl.widget.data()); }

QWidget* ParentOf(TComponent* owner) {
  auto* control = dynamic_cast<TControl*>(owner);
  return control ? WidgetOf(control) : nullptr;
}

}  // namespace

TListView::TListView(TComponent* owner)
    : TControl(owner, std::make_unique<TControlImpl>(new ListViewWidget(ParentOf(owner)))),
      items_(std::make_unique<TListItems>()) {
  ListViewWidget* view = View(*impl_);
  view->model_ = new ItemsModel(*this, *view);
  view->model_->setParent(view);
  view->setModel(view->model_);
  view->model_->Attach();
  QObject::connect(view->header(), &QHeaderView::sectionClicked, [this](int section) { ClickColumn(section); });
}

TListView::~TListView() {
  if (ListViewWidget* view = View(*impl_)) {
    view->setModel(nullptr);
    delete view->model_;
    view->model_ = nullptr;
  }
}

void TListView::ClickColumn(int index) {
  if (index < 0 || index >= ColumnCount()) return;
  if (OnColumnClick) OnColumnClick(this, Column(index));
}

bool TListView::CustomSort(PFNLVCOMPARE SortProc, LPARAM lParam) {
  if (!SortProc && !OnCompare) return false;
  if (ListViewWidget* view = View(*impl_)) view->model_->Sync();  // pending rows first
  if (SortProc) {
    items_->Sort([&](const TListItem* a, const TListItem* b) {
      return SortProc(reinterpret_cast<LPARAM>(a), reinterpret_cast<LPARAM>(b), lParam) < 0;
    });
  } else {
    items_->Sort([&](const TListItem* a, const TListItem* b) {
      int compare = 0;
      OnCompare(this, const_cast<TListItem*>(a), const_cast<TListItem*>(b), static_cast<int>(lParam), compare);
      return compare < 0;
    });
  }
  return true;
}

bool TListView::SetProperty(const DfmProperty& p, const TEventSource& events, std::string& error) {
  ListViewWidget* view = View(*impl_);
  if (p.name == "Columns") {
    if (p.value.kind != DfmValue::Kind::Collection) {
      error = dfm::Where(p) + "expected a collection";
      return false;
    }
    columns_.clear();
    for (const auto& item : p.value.items) {
      auto column = std::make_unique<TListColumn>();
      column->index_ = static_cast<int>(columns_.size());
      for (const auto& cp : item) {
        bool ok = false;
        if (cp.name == "Caption")
          ok = dfm::String(cp, column->Caption, error);
        else if (cp.name == "Tag")
          ok = dfm::Int(cp, column->Tag, error);
        else if (cp.name == "Width")
          ok = dfm::Int(cp, column->Width, error);
        else
          error = dfm::Where(cp) + "unknown column property";
        if (!ok) return false;
      }
      columns_.push_back(std::move(column));
    }
    view->model_->ColumnsChanged();
    return true;
  }
  if (p.name == "ViewStyle") {
    static const char* const kStyles[] = {"vsIcon", "vsSmallIcon", "vsList", "vsReport", nullptr};
    int style = 0;
    if (!dfm::OneOf(p, kStyles, style, error)) return false;
    if (style != vsReport && style != vsList) {
      error = dfm::Where(p) + "only vsReport and vsList are supported";
      return false;
    }
    viewStyle_ = static_cast<TViewStyle>(style);
    return true;
  }
  if (p.name == "MultiSelect") return dfm::Bool(p, multiSelect_, error);
  if (p.name == "ReadOnly") return dfm::Bool(p, readOnly_, error);
  if (p.name == "RowSelect") return dfm::Bool(p, rowSelect_, error);
  if (p.name == "HideSelection") return dfm::Bool(p, hideSelection_, error);
  if (p.name == "OnColumnClick") return dfm::Event(p, events, OnColumnClick, error);
  if (p.name == "OnCompare") return dfm::Event(p, events, OnCompare, error);
  return TControl::SetProperty(p, events, error);
}

void TListView::Loaded() {
  ListViewWidget* view = View(*impl_);
  view->setHeaderHidden(viewStyle_ != vsReport);
  view->setSelectionMode(multiSelect_ ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
  view->setSelectionBehavior(rowSelect_ ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
  view->setAllColumnsShowFocus(rowSelect_);
  // Read-only: no editing at all; the items are never changed in place.
  view->setEditTriggers(readOnly_ ? QAbstractItemView::NoEditTriggers
                                  : QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  if (!hideSelection_) {
    // The selection keeps its colours when the list loses the focus.
    QPalette palette = view->palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
      palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    }
    view->setPalette(palette);
  }
  for (const auto& column : columns_) view->header()->resizeSection(column->Index(), column->Width);
}

void SyncListView(TListView& list) {
  if (ListViewWidget* view = View(list.Impl())) view->model_->Sync();
}
