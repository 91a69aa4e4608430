#include "filelist/FileList.h"

#include <vector>

void AddEntry(TListItems* items, const std::string& path) {
  TListItem* item = items->Add();
  item->Caption = path;
  item->Selected = true;
}

void TakeCommandLine(TListItems* items) {
  const int count = ParamCount();
  for (int i = 1; i <= count; ++i) AddEntry(items, ParamStr(i));
}

void TakeDrop(TListItems* items, HDROP drop) {
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<char> buffer;
  for (UINT i = 0; i < count; ++i) {
    // Ask for the length first and fetch the path whole: a path cut to a
    // fixed buffer would name, and then delete, some other file.
    const UINT length = DragQueryFileA(drop, i, nullptr, 0);
    buffer.assign(length + 1, '\0');
    DragQueryFileA(drop, i, buffer.data(), length + 1);
    AddEntry(items, std::string(buffer.data()));
  }
  DragFinish(drop);
}
