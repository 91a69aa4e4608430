#include "platform/forms/ListItems.h"

#include <algorithm>

TListItem::SelectedFlag& TListItem::SelectedFlag::operator=(bool value) {
  if (value_ != value) {
    value_ = value;
    item_->owner_->SelectionChanged(item_);
  }
  return *this;
}

TListItem* TListItems::Add() {
  const int index = Count();
  TListItem* item = &storage_.emplace_back(TListItem::Key(), this, index);
  order_.push_back(item);
  if (listener_) listener_->ItemsAppended(index, 1);
  return item;
}

void TListItems::Sort(const std::function<bool(const TListItem*, const TListItem*)>& before) {
  // A merge sort: stays within bounds and terminates even if a comparison
  // handler is inconsistent, which a user-supplied one may be.
  std::stable_sort(order_.begin(), order_.end(), before);
  for (size_t i = 0; i < order_.size(); ++i) order_[i]->index_ = static_cast<int>(i);
  if (listener_) listener_->ItemsReordered();
}

void TListItems::SelectionChanged(TListItem* item) {
  if (listener_) listener_->ItemSelectionChanged(item->index_);
}
