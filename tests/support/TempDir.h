// Test fixtures on real files: a temporary folder, file helpers, a tmpfs
// mount for a second file system, and running code as another user.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under $TMPDIR (or /tmp), removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Writes `content` to `path`, creating or truncating it. Aborts the test
// binary on failure: a fixture that silently fails would prove nothing.
void WriteFile(const std::string& path, const std::string& content = "x");
std::string ReadFile(const std::string& path);
void MakeDir(const std::string& path, mode_t mode = 0755);
bool Exists(const std::string& path);  // lstat: a dangling symlink exists
std::vector<std::string> ListDir(const std::string& path);  // sorted, without . and ..
void RemoveTree(const std::string& path);

// Runs `command` through /bin/sh with `env` added, returning its stdout;
// `status` receives the exit status.
std::string RunCommand(const std::string& command, int* status = nullptr);

// Quotes bytes for /bin/sh.
std::string ShellQuote(const std::string& s);

bool IsRoot();

// A small tmpfs mounted on a fresh folder, when running as root. `mounted()`
// is false elsewhere; tests then skip.
class TmpfsMount {
 public:
  explicit TmpfsMount(const std::string& options = "size=16m");
  ~TmpfsMount();
  bool mounted() const { return mounted_; }
  const std::string& path() const { return dir_.path(); }

 private:
  TempDir dir_;
  bool mounted_ = false;
};

// Runs `fn` in a child process, as `uid` when that differs from ours (which
// needs root), and returns its exit code, or -1 if it did not exit normally.
int RunInChild(uid_t uid, const std::function<int()>& fn);

// The uid tests use for an unprivileged user: ours, or nobody's under root.
uid_t UnprivilegedUid();

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();

 private:
  std::string name_;
  std::string old_;
  bool had_ = false;
};

}  // namespace testsupport
