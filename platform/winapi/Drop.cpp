#include <cstring>
#include <mutex>
#include <set>

#include "platform/winapi/DropHandle.h"
#include "platform/winapi/ShellApi.h"

namespace {
std::set<HWND>& Acceptors() {
  static std::set<HWND> windows;
  return windows;
}
DragAcceptHook g_hook = nullptr;
}  // namespace

HDROP CreateDropHandle(std::vector<std::string> paths) { return new HDROP__{std::move(paths)}; }

void DragAcceptFiles(HWND hWnd, BOOL fAccept) {
  const bool accept = fAccept != FALSE;  // any non-zero value means yes
  if (accept)
    Acceptors().insert(hWnd);
  else
    Acceptors().erase(hWnd);
  if (g_hook) g_hook(hWnd, accept);
}

bool AcceptsDroppedFiles(HWND hWnd) { return Acceptors().count(hWnd) != 0; }

void SetDragAcceptHook(DragAcceptHook hook) { g_hook = hook; }

UINT DragQueryFileA(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch) {
  if (!hDrop) return 0;
  if (iFile == 0xFFFFFFFFu) return static_cast<UINT>(hDrop->paths.size());
  if (iFile >= hDrop->paths.size()) return 0;
  const std::string& path = hDrop->paths[iFile];
  if (!lpszFile) return static_cast<UINT>(path.size());
  if (cch == 0) return 0;
  const size_t n = path.size() < cch - 1 ? path.size() : cch - 1;
  std::memcpy(lpszFile, path.data(), n);
  lpszFile[n] = '\0';
  return static_cast<UINT>(n);
}

void DragFinish(HDROP hDrop) { delete hDrop; }
