#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/winapi/Kernel.h"

namespace {
// The counterpart of the read-only attribute: a file the user may not
// write. Root may write anything, so for root only a file with no write
// bit at all counts, much as the attribute stops administrators too.
bool IsReadOnly(const char* path, const struct stat& st) {
  if (geteuid() == 0) return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  return faccessat(AT_FDCWD, path, W_OK, AT_EACCESS) != 0 && errno == EACCES;
}
}  // namespace

BOOL DeleteFileA(LPCSTR lpFileName) {
  if (!lpFileName || !*lpFileName) {
    errno = ENOENT;
    return FALSE;
  }
  struct stat st;
  if (lstat(lpFileName, &st) != 0) return FALSE;
  if (S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    return FALSE;
  }
  // A symlink carries no read-only flag of its own; it is removed as it is.
  if (!S_ISLNK(st.st_mode) && IsReadOnly(lpFileName, st)) {
    errno = EACCES;
    return FALSE;
  }
  return unlink(lpFileName) == 0 ? TRUE : FALSE;
}
