#include "platform/shell/DeleteRequest.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace shell {

namespace {

RequestExecutor* g_executor = nullptr;

trash::TrashResult AsFailure(int error) {
  trash::TrashResult r;
  r.status = error == EACCES || error == EPERM ? trash::TrashStatus::PermissionDenied : trash::TrashStatus::IoError;
  r.error = error;
  return r;
}

// Empties the folder open as `fd`, depth first, never following symlinks.
int EmptyDirectory(int fd, int depth) {
  if (depth > 4096) return ELOOP;
  DIR* dir = fdopendir(fd);
  if (!dir) {
    int e = errno;
    close(fd);
    return e;
  }
  int error = 0;
  while (struct dirent* e = readdir(dir)) {
    const char* name = e->d_name;
    if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
    struct stat st;
    if (fstatat(dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
      error = errno;
      break;
    }
    if (S_ISDIR(st.st_mode)) {
      const int sub = openat(dirfd(dir), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      error = sub < 0 ? errno : EmptyDirectory(sub, depth + 1);
      if (error) break;
      if (unlinkat(dirfd(dir), name, AT_REMOVEDIR) != 0) {
        error = errno;
        break;
      }
    } else if (unlinkat(dirfd(dir), name, 0) != 0) {
      error = errno;
      break;
    }
  }
  closedir(dir);
  return error;
}

}  // namespace

int RemovePermanently(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return errno;
  if (!S_ISDIR(st.st_mode)) return unlink(path.c_str()) == 0 ? 0 : errno;
  int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return errno;
  if (int e = EmptyDirectory(fd, 0)) return e;
  return rmdir(path.c_str()) == 0 ? 0 : errno;
}

RequestOutcome RecyclePaths(const DeleteRequest& request, ShellPrompts& prompts, trash::TrashEngine& engine) {
  RequestOutcome outcome;
  if (request.paths.empty()) return outcome;
  if (!prompts.ConfirmRecycle(request.owner, request.paths)) {
    outcome.allDone = false;
    outcome.aborted = true;
    return outcome;
  }
  const size_t total = request.paths.size();
  bool skipAllErrors = false;
  bool deleteWithoutTrash = false;  // "yes to all" to permanent deletion
  auto abort = [&] {
    outcome.allDone = false;
    outcome.aborted = true;
    return outcome;
  };

  for (size_t i = 0; i < total; ++i) {
    const std::string& path = request.paths[i];
    if (prompts.Cancelled()) return abort();
    prompts.Progress(i, total, path);
    // Each pass is one attempt; only the user's "retry" makes another.
    for (;;) {
      trash::TrashResult result = engine.Trash(path);
      if (result.ok()) break;
      if (result.status == trash::TrashStatus::NoTrash) {
        NoTrashAnswer answer = deleteWithoutTrash ? NoTrashAnswer::Yes : prompts.AskDeletePermanently(path);
        if (answer == NoTrashAnswer::Cancel) return abort();
        if (answer == NoTrashAnswer::No) {
          outcome.allDone = false;
          break;
        }
        if (answer == NoTrashAnswer::YesToAll) deleteWithoutTrash = true;
        int error = RemovePermanently(path);
        if (error == 0) break;
        result = AsFailure(error);
      }
      if (skipAllErrors) {
        outcome.allDone = false;
        break;
      }
      ErrorAnswer answer = prompts.OperationFailed(path, result);
      if (answer == ErrorAnswer::Retry) continue;
      if (answer == ErrorAnswer::Cancel) return abort();
      if (answer == ErrorAnswer::SkipAll) skipAllErrors = true;
      outcome.allDone = false;
      break;
    }
  }
  prompts.Progress(total, total, std::string());
  return outcome;
}

RequestExecutor* SetRequestExecutor(RequestExecutor* executor) {
  RequestExecutor* old = g_executor;
  g_executor = executor;
  return old;
}

RequestExecutor* CurrentRequestExecutor() { return g_executor; }

RequestOutcome DirectExecutor::Execute(const DeleteRequest& request) {
  trash::TrashEngine engine;
  return RecyclePaths(request, prompts_, engine);
}

}  // namespace shell
