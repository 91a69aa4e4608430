// Moves files to the desktop trash, following the freedesktop.org Trash
// specification, so that any file manager can list and restore them.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <unordered_map>

namespace trash {

enum class TrashStatus {
  Done,
  NotFound,          // the path names nothing
  PermissionDenied,  // the entry or its folder may not be changed
  NoTrash,           // no usable trash on the entry's file system
  IoError,           // anything else; `error` holds the errno
};

struct TrashResult {
  TrashStatus status = TrashStatus::Done;
  int error = 0;           // errno of the failing call, 0 when Done
  std::string trashedAs;   // name under files/ when Done
  bool ok() const { return status == TrashStatus::Done; }
};

// Where the engine looks for and creates trash directories. Tests point
// these at temporary folders; the default reads the environment.
struct TrashEnvironment {
  std::string dataHome;  // $XDG_DATA_HOME, or ~/.local/share; must be absolute
  uid_t uid = 0;
  // An info file whose entry never arrived in files/ (a run killed between
  // the two steps) is removed when a run first opens that trash, once it is
  // this old: younger ones may belong to a move still under way elsewhere.
  int orphanGraceSeconds = 5;

  static TrashEnvironment FromProcess();
};

class TrashDirectory;

// Not thread-safe: one engine belongs to one run. It caches one open trash
// directory per device, so it is meant to live for a whole batch of paths.
class TrashEngine {
 public:
  explicit TrashEngine(TrashEnvironment env = TrashEnvironment::FromProcess());
  ~TrashEngine();
  TrashEngine(const TrashEngine&) = delete;
  TrashEngine& operator=(const TrashEngine&) = delete;

  // Moves the entry `path` names (never what a symlink points to) into the
  // trash of its file system. The path is taken byte for byte; a relative
  // path is resolved against the current folder.
  TrashResult Trash(const std::string& path);

  // Writes pending cache updates (the directorysizes file). Also done by the
  // destructor; a missing update costs file managers a recount, nothing more.
  void Flush();

  // Info files without their entry removed so far.
  size_t OrphansRemoved() const { return orphansRemoved_; }

 private:
  TrashDirectory* DirectoryFor(dev_t device, const std::string& parent, TrashResult& failure);
  void ResolveHome();
  const std::string& RealParent(const std::string& parent, int& error);

  TrashEnvironment env_;
  std::unordered_map<dev_t, std::unique_ptr<TrashDirectory>> byDevice_;
  std::unordered_map<dev_t, TrashResult> unusable_;  // devices known to have no trash
  std::unordered_map<std::string, std::string> realParents_;
  size_t orphansRemoved_ = 0;
  bool homeResolved_ = false;
  bool homeKnown_ = false;
  dev_t homeDevice_ = 0;
  TrashResult homeFailure_;
};

// Percent-encodes path bytes as in URLs, keeping '/' and the unreserved
// characters, as the Path= key of an info file requires.
std::string EncodeTrashPath(const std::string& bytes);
// The inverse; returns false on a malformed escape.
bool DecodeTrashPath(const std::string& text, std::string& bytes);

// The name a path gets under files/: its last component, shortened so that
// "NAME.trashinfo" fits in a 255-byte file name, keeping the extension.
std::string TrashNameFor(const std::string& baseName);

// Lexically made absolute against `cwd` ("//" and "/./" folded, trailing
// slashes dropped; ".." kept, since only the file system can resolve it).
std::string AbsolutePath(const std::string& path, const std::string& cwd);

}  // namespace trash
