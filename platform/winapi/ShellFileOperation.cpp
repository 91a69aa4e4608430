#include <string>
#include <vector>

#include "platform/shell/DeleteRequest.h"
#include "platform/winapi/ShellApi.h"

namespace {
constexpr int kInvalidParameter = 87;
constexpr int kNotSupported = 50;
constexpr int kCancelled = 1223;
constexpr int kSomeFailed = 0x402;
}  // namespace

int SHFileOperationA(LPSHFILEOPSTRUCTA lpFileOp) {
  if (!lpFileOp || !lpFileOp->pFrom) return kInvalidParameter;
  // Deleting through the trash is all this platform's shell does; a delete
  // without undo must never happen by accident of a missing flag.
  if (lpFileOp->wFunc != FO_DELETE || !(lpFileOp->fFlags & FOF_ALLOWUNDO)) return kNotSupported;

  shell::DeleteRequest request;
  request.owner = lpFileOp->hwnd;
  for (const char* p = lpFileOp->pFrom; *p; p += request.paths.back().size() + 1) request.paths.emplace_back(p);
  if (request.paths.empty()) return 0;

  shell::RequestExecutor* executor = shell::CurrentRequestExecutor();
  if (!executor) {
    // Nobody to ask for confirmation: touch nothing.
    lpFileOp->fAnyOperationsAborted = TRUE;
    return kCancelled;
  }
  shell::RequestOutcome outcome = executor->Execute(request);
  if (outcome.aborted) {
    lpFileOp->fAnyOperationsAborted = TRUE;
    return kCancelled;
  }
  return outcome.allDone ? 0 : kSomeFailed;
}
