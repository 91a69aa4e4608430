// The shell's delete request on Linux: every path of one request goes to
// the trash, with the shell's confirmation, progress and error windows
// behind the ShellPrompts interface.
#pragma once

#include <string>
#include <vector>

#include "platform/trash/TrashEngine.h"
#include "platform/winapi/WinTypes.h"

namespace shell {

struct DeleteRequest {
  HWND owner = nullptr;
  std::vector<std::string> paths;  // bytes, as the program handed them over
};

struct RequestOutcome {
  bool allDone = true;   // every path went (to the trash, or as the user allowed, for good)
  bool aborted = false;  // the user declined or cancelled
};

enum class ErrorAnswer { Retry, Skip, SkipAll, Cancel };
enum class NoTrashAnswer { Yes, YesToAll, No, Cancel };

// The shell's windows. Calls come from the thread running the request;
// an implementation with windows marshals them to its user-interface thread.
class ShellPrompts {
 public:
  virtual ~ShellPrompts() = default;
  // Asked once before anything is touched. True goes ahead.
  virtual bool ConfirmRecycle(HWND owner, const std::vector<std::string>& paths) = 0;
  // `path` has no usable trash: delete it for good instead?
  virtual NoTrashAnswer AskDeletePermanently(const std::string& path) = 0;
  // Trashing (or the permanent deletion the user allowed) failed.
  virtual ErrorAnswer OperationFailed(const std::string& path, const trash::TrashResult& why) = 0;
  // `done` of `total` paths handled; `current` is the one about to go.
  virtual void Progress(size_t done, size_t total, const std::string& current) {
    (void)done, (void)total, (void)current;
  }
  // Polled between paths: the user pressed Cancel on the progress window.
  virtual bool Cancelled() { return false; }
};

// Carries out a request. Nothing is deleted for good unless the user said
// so for a path with no usable trash.
RequestOutcome RecyclePaths(const DeleteRequest& request, ShellPrompts& prompts, trash::TrashEngine& engine);

// Deletes `path` for good: a folder with everything in it, a symlink itself.
// Never follows a symlink. Returns 0 or the errno of the first failure.
int RemovePermanently(const std::string& path);

// Who SHFileOperationA hands its requests to. The window layer installs
// one with real windows; tests install their own.
class RequestExecutor {
 public:
  virtual ~RequestExecutor() = default;
  virtual RequestOutcome Execute(const DeleteRequest& request) = 0;
};

// Installs `executor` (not owned; null removes it) and returns the old one.
RequestExecutor* SetRequestExecutor(RequestExecutor* executor);
RequestExecutor* CurrentRequestExecutor();

// Runs requests on the calling thread with the given prompts and a fresh
// trash engine for each request.
class DirectExecutor : public RequestExecutor {
 public:
  explicit DirectExecutor(ShellPrompts& prompts) : prompts_(prompts) {}
  RequestOutcome Execute(const DeleteRequest& request) override;

 private:
  ShellPrompts& prompts_;
};

}  // namespace shell
