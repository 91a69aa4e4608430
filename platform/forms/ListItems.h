// The items of a list view: each a caption (bytes) and a selected flag.
// They live without a window; a list view shows them and keeps its
// on-screen selection in step with their flags, which are the truth.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/forms/Object.h"

class TListItems;

class TListItem : public TObject {
 public:
  std::string Caption;

  // Reads and sets the selected flag as `item->Selected = true;` does in
  // the framework; setting it tells the list view.
  class SelectedFlag {
   public:
    operator bool() const { return value_; }
    SelectedFlag& operator=(bool value);
    SelectedFlag(const SelectedFlag&) = delete;
    SelectedFlag& operator=(const SelectedFlag& other) { return *this = static_cast<bool>(other); }

   private:
    friend class TListItem;
    friend class TListItems;
    explicit SelectedFlag(TListItem* item) : item_(item) {}
    TListItem* item_;
    bool value_ = false;
  } Selected{this};

  int Index() const { return index_; }
  TListItems* Owner() const { return owner_; }

  // Only TListItems makes items; the key keeps everyone else out.
  class Key {
    friend class TListItems;
    Key() = default;
  };
  TListItem(Key, TListItems* owner, int index) : owner_(owner), index_(index) {}
  TListItem(const TListItem&) = delete;
  TListItem& operator=(const TListItem&) = delete;

 private:
  friend class TListItems;
  TListItems* owner_;
  int index_;
};

// Told of every change, so that a view can follow. Not part of the
// framework's surface: the platform's list view is the one listener.
class TListItemsListener {
 public:
  virtual ~TListItemsListener() = default;
  virtual void ItemsAppended(int first, int count) = 0;
  virtual void ItemSelectionChanged(int index) = 0;
  virtual void ItemsReordered() = 0;
};

class TListItems : public TObject {
 public:
  TListItems() = default;
  TListItems(const TListItems&) = delete;
  TListItems& operator=(const TListItems&) = delete;

  // Appends an empty, unselected item.
  TListItem* Add();
  int Count() const { return static_cast<int>(order_.size()); }
  TListItem* Item(int index) const { return order_.at(static_cast<size_t>(index)); }
  TListItem* operator[](int index) const { return Item(index); }

  // Reorders the items with `before(a, b)` (true when a goes first),
  // keeping equal items in their order. Flags move with their items.
  void Sort(const std::function<bool(const TListItem*, const TListItem*)>& before);

  void SetListener(TListItemsListener* listener) { listener_ = listener; }

 private:
  friend class TListItem::SelectedFlag;
  void SelectionChanged(TListItem* item);

  std::deque<TListItem> storage_;  // stable addresses, no allocation per item
  std::vector<TListItem*> order_;
  TListItemsListener* listener_ = nullptr;
};
