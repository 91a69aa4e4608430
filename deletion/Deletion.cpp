#include "deletion/Deletion.h"

#include "deletion/Messages.h"

std::string RecycleRequestText(const TListItems* items) {
  std::string request;
  for (int i = 0; i < items->Count(); ++i) {
    const TListItem* item = items->Item(i);
    if (item->Selected) {
      request += item->Caption;
      request += '\0';
    }
  }
  if (!request.empty()) request += '\0';
  return request;
}

std::string FailureReportText(const std::string& failedList) {
  return std::string(kFailureHeader) + "\r\r" + failedList;
}

void RecycleSelected(const TListItems* items, HWND applicationHandle) {
  const std::string request = RecycleRequestText(items);
  if (request.empty()) return;
  SHFILEOPSTRUCTA op{};
  op.hwnd = applicationHandle;
  op.wFunc = FO_DELETE;
  op.pFrom = request.c_str();
  op.pTo = nullptr;
  op.fFlags = FOF_ALLOWUNDO;
  op.hNameMappings = nullptr;
  op.lpszProgressTitle = nullptr;
  SHFileOperationA(&op);  // the shell reports its own failures
}

void DeleteSelectedPermanently(const TListItems* items, HWND owner) {
  std::string failed;
  for (int i = 0; i < items->Count(); ++i) {
    const TListItem* item = items->Item(i);
    if (item->Selected && !DeleteFileA(item->Caption.c_str())) {
      failed += item->Caption;
      failed += '\r';
    }
  }
  if (!failed.empty()) {
    MessageBoxA(owner, FailureReportText(failed).c_str(), kFailureCaption, MB_OK | MB_ICONINFORMATION);
  }
}

void RunDeletion(const TListItems* items, bool permanent, HWND applicationHandle, HWND owner,
                 const std::function<void()>& closeWindow) {
  if (permanent)
    DeleteSelectedPermanently(items, owner);
  else
    RecycleSelected(items, applicationHandle);
  closeWindow();
}
