#include "platform/trash/TrashEngine.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <ctime>
#include <random>
#include <unordered_set>
#include <vector>

#include "platform/trash/UniqueFd.h"

namespace trash {

namespace {

// Bounds on the name search, so that no state of the trash can make it spin.
constexpr int kSequentialAttempts = 64;
constexpr int kRandomAttempts = 32;
// "NAME.trashinfo" must fit in one 255-byte file name.
constexpr size_t kMaxNameBytes = 255 - (sizeof(".trashinfo") - 1);
// Extensions longer than this are part of the name, not worth keeping whole.
constexpr size_t kMaxExtensionBytes = 32;

TrashResult Failure(int error) {
  TrashResult r;
  r.error = error;
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      r.status = TrashStatus::NotFound;
      break;
    case EACCES:
    case EPERM:
      r.status = TrashStatus::PermissionDenied;
      break;
    case EXDEV:
      // The trash we picked is not on the entry's file system after all
      // (a bind mount, say): as far as this entry goes, there is none.
      r.status = TrashStatus::NoTrash;
      break;
    default:
      r.status = TrashStatus::IoError;
      break;
  }
  return r;
}

TrashResult NoTrash(int error) {
  TrashResult r;
  r.status = TrashStatus::NoTrash;
  r.error = error;
  return r;
}

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~' || c == '/';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsUtf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Cuts `s` to at most `limit` bytes without splitting a UTF-8 sequence when
// the name is UTF-8; names in other encodings are cut where they must be.
std::string CutAt(const std::string& s, size_t limit) {
  if (s.size() <= limit) return s;
  size_t cut = limit;
  for (int back = 0; back < 3 && cut > 0 && IsUtf8Continuation(s[cut]); ++back) --cut;
  if (cut > 0 && IsUtf8Continuation(s[cut])) cut = limit;  // not UTF-8 after all
  return s.substr(0, cut);
}

void SplitExtension(const std::string& name, std::string& stem, std::string& ext) {
  size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0 || name.size() - dot > kMaxExtensionBytes) {
    stem = name;
    ext.clear();
  } else {
    stem = name.substr(0, dot);
    ext = name.substr(dot);
  }
}

// stem + suffix + ext, with the stem shortened so that the whole fits.
std::string ComposeName(const std::string& stem, const std::string& suffix, const std::string& ext) {
  std::string keepExt = ext;
  if (suffix.size() + keepExt.size() >= kMaxNameBytes) keepExt.clear();
  size_t room = kMaxNameBytes - suffix.size() - keepExt.size();
  std::string name = CutAt(stem, room);
  if (name.empty()) name = "_";  // a name that was all extension
  return name + suffix + keepExt;
}

std::string DeletionDate() {
  thread_local time_t cachedAt = -1;
  thread_local char text[32];
  time_t now = time(nullptr);
  if (now != cachedAt) {
    struct tm local;
    localtime_r(&now, &local);
    strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    cachedAt = now;
  }
  return text;
}

std::string ParentOf(const std::string& absolute) {
  size_t slash = absolute.rfind('/');
  return slash == 0 ? std::string("/") : absolute.substr(0, slash);
}

std::string Join(const std::string& dir, const std::string& name) {
  return dir == "/" ? "/" + name : dir + "/" + name;
}

// Disk use of a tree, counted without following symlinks. Returns false
// when part of it could not be read; the cache entry is then left out.
bool DiskUsage(int dirFd, const char* name, unsigned long long& total, int depth) {
  struct stat st;
  if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
  total += static_cast<unsigned long long>(st.st_blocks) * 512ULL;
  if (!S_ISDIR(st.st_mode)) return true;
  if (depth > 256) return false;
  int fd = openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  DIR* dir = fdopendir(fd);
  if (!dir) {
    close(fd);
    return false;
  }
  bool ok = true;
  while (struct dirent* e = readdir(dir)) {
    if (e->d_name[0] == '.' && (e->d_name[1] == 0 || (e->d_name[1] == '.' && e->d_name[2] == 0))) continue;
    if (!DiskUsage(dirfd(dir), e->d_name, total, depth + 1)) {
      ok = false;
      break;
    }
  }
  closedir(dir);
  return ok;
}

bool ReadAll(int dirFd, const char* name, std::string& out) {
  UniqueFd fd(openat(dirFd, name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
  if (!fd) return errno == ENOENT;
  char buf[65536];
  for (;;) {
    ssize_t n = read(fd.get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    out.append(buf, static_cast<size_t>(n));
  }
}

bool WriteAll(int fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// Makes `path` and any missing parents, each new one with mode 0700.
int MakeDirectories(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
  if (errno != ENOENT) return errno;
  std::string parent = ParentOf(path);
  if (parent != path) {
    if (int e = MakeDirectories(parent)) return e;
  }
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return errno;
  return 0;
}

}  // namespace

// One opened trash directory: its files/ and info/ held open for the run.
class TrashDirectory {
 public:
  // `topdir` is empty for the home trash, whose Path= values are absolute.
  TrashDirectory(UniqueFd dir, UniqueFd files, UniqueFd info, std::string topdir)
      : dir_(std::move(dir)), files_(std::move(files)), info_(std::move(info)), topdir_(std::move(topdir)) {}

  ~TrashDirectory() { FlushSizes(); }

  // Opens the trash directory `name` inside `parentFd`, making it and its
  // files/ and info/ folders as needed. It must be a real directory owned
  // by `uid`; symlinks are never followed.
  static std::unique_ptr<TrashDirectory> Open(int parentFd, const char* name, uid_t uid, std::string topdir,
                                              int& error) {
    if (mkdirat(parentFd, name, 0700) != 0 && errno != EEXIST) {
      error = errno;
      return nullptr;
    }
    UniqueFd dir(openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!dir) {
      error = errno;
      return nullptr;
    }
    struct stat st;
    if (fstat(dir.get(), &st) != 0) {
      error = errno;
      return nullptr;
    }
    if (st.st_uid != uid) {
      error = EPERM;
      return nullptr;
    }
    UniqueFd files = OpenSub(dir.get(), "files", error);
    if (!files) return nullptr;
    UniqueFd info = OpenSub(dir.get(), "info", error);
    if (!info) return nullptr;
    return std::make_unique<TrashDirectory>(std::move(dir), std::move(files), std::move(info), std::move(topdir));
  }

  // Removes info files whose entry is missing from files/ and which are
  // older than `graceSeconds`. Returns how many went.
  size_t RemoveOrphans(int graceSeconds) {
    UniqueFd scan(openat(info_.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!scan) return 0;
    DIR* dir = fdopendir(scan.get());
    if (!dir) return 0;
    scan.release();
    const time_t now = time(nullptr);
    const std::string suffix = ".trashinfo";
    size_t removed = 0;
    while (struct dirent* e = readdir(dir)) {
      const std::string name = e->d_name;
      if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        continue;
      const std::string entry = name.substr(0, name.size() - suffix.size());
      struct stat st;
      if (fstatat(files_.get(), entry.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT) continue;
      if (fstatat(info_.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
      if (now - st.st_mtime < graceSeconds) continue;
      if (unlinkat(info_.get(), name.c_str(), 0) == 0) ++removed;
    }
    closedir(dir);
    return removed;
  }

  TrashResult Move(const std::string& fullPath, const std::string& baseName, bool isDirectory) {
    const std::string content = InfoContent(fullPath);
    std::string stem, ext;
    SplitExtension(baseName, stem, ext);
    const std::string plain = ComposeName(stem, "", ext);
    unsigned& next = nextSuffix_[plain];

    for (int attempt = 0; attempt < kSequentialAttempts + kRandomAttempts; ++attempt) {
      std::string name;
      if (attempt < kSequentialAttempts) {
        name = next == 0 ? plain : ComposeName(stem, "." + std::to_string(next + 1), ext);
        ++next;
      } else {
        // Counting found only taken names (a trash filled by someone else):
        // a random name ends the search quickly.
        char suffix[24];
        snprintf(suffix, sizeof suffix, ".%016llx", static_cast<unsigned long long>(Random()()));
        name = ComposeName(stem, suffix, ext);
      }
      const std::string infoName = name + ".trashinfo";

      UniqueFd fd(openat(info_.get(), infoName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
      if (!fd) {
        if (errno == EEXIST) continue;
        return Failure(errno);
      }
      bool written = WriteAll(fd.get(), content);
      int writeError = errno;
      if (fd.close() != 0 && written) {
        written = false;
        writeError = errno;
      }
      if (!written) {
        unlinkat(info_.get(), infoName.c_str(), 0);
        return Failure(writeError);
      }

      int moveError = MoveNoReplace(fullPath, name);
      if (moveError == EEXIST) {
        // files/ holds a name that info/ did not: leave it be, try another.
        unlinkat(info_.get(), infoName.c_str(), 0);
        continue;
      }
      if (moveError != 0) {
        unlinkat(info_.get(), infoName.c_str(), 0);
        return Failure(moveError);
      }
      if (isDirectory) NoteDirectory(name, infoName);
      TrashResult done;
      done.trashedAs = name;
      return done;
    }
    return Failure(EEXIST);
  }

  void FlushSizes() {
    if (pendingSizes_.empty()) return;
    std::string old;
    if (!ReadAll(dir_.get(), "directorysizes", old)) old.clear();
    std::unordered_set<std::string> replaced;
    for (const auto& line : pendingSizes_) replaced.insert(line.encodedName);
    std::string updated;
    size_t pos = 0;
    while (pos < old.size()) {
      size_t end = old.find('\n', pos);
      if (end == std::string::npos) end = old.size();
      std::string line = old.substr(pos, end - pos);
      pos = end + 1;
      size_t second = line.find(' ', line.find(' ') + 1);
      if (line.empty() || second == std::string::npos) continue;
      if (replaced.count(line.substr(second + 1))) continue;
      updated += line;
      updated += '\n';
    }
    for (const auto& entry : pendingSizes_) {
      updated += std::to_string(entry.size) + " " + std::to_string(entry.mtime) + " " + entry.encodedName + "\n";
    }
    pendingSizes_.clear();

    // Readers must see the old cache or the new one, never half of one.
    char tmpName[64];
    snprintf(tmpName, sizeof tmpName, "directorysizes.%016llx", static_cast<unsigned long long>(Random()()));
    UniqueFd fd(openat(dir_.get(), tmpName, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd) return;
    bool ok = WriteAll(fd.get(), updated);
    ok = fd.close() == 0 && ok;
    if (!ok || renameat(dir_.get(), tmpName, dir_.get(), "directorysizes") != 0) {
      unlinkat(dir_.get(), tmpName, 0);
    }
  }

 private:
  struct SizeEntry {
    unsigned long long size;
    long long mtime;
    std::string encodedName;
  };

  static UniqueFd OpenSub(int dirFd, const char* name, int& error) {
    if (mkdirat(dirFd, name, 0700) != 0 && errno != EEXIST) {
      error = errno;
      return UniqueFd();
    }
    UniqueFd fd(openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd) error = errno;
    return fd;
  }

  static std::mt19937_64& Random() {
    thread_local std::mt19937_64 engine(std::random_device{}());
    return engine;
  }

  std::string InfoContent(const std::string& fullPath) const {
    std::string path = fullPath;
    if (!topdir_.empty()) {
      // Relative to the top directory when the entry lies under it, as the
      // specification asks of top-directory trashes.
      const std::string prefix = topdir_ == "/" ? "/" : topdir_ + "/";
      if (path.compare(0, prefix.size(), prefix) == 0) path = path.substr(prefix.size());
    }
    std::string content = "[Trash Info]\nPath=";
    content += EncodeTrashPath(path);
    content += "\nDeletionDate=";
    content += DeletionDate();
    content += '\n';
    return content;
  }

  int MoveNoReplace(const std::string& from, const std::string& name) {
    if (renameat2(AT_FDCWD, from.c_str(), files_.get(), name.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // File systems without RENAME_NOREPLACE: check first. The info file
    // already holds the name in info/, so only an orphan could be there.
    struct stat st;
    if (fstatat(files_.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return EEXIST;
    if (renameat(AT_FDCWD, from.c_str(), files_.get(), name.c_str()) == 0) return 0;
    return errno;
  }

  void NoteDirectory(const std::string& name, const std::string& infoName) {
    unsigned long long size = 0;
    struct stat info;
    if (!DiskUsage(files_.get(), name.c_str(), size, 0)) return;
    if (fstatat(info_.get(), infoName.c_str(), &info, 0) != 0) return;
    pendingSizes_.push_back({size, static_cast<long long>(info.st_mtime), EncodeTrashPath(name)});
  }

  UniqueFd dir_, files_, info_;
  std::string topdir_;
  std::unordered_map<std::string, unsigned> nextSuffix_;
  std::vector<SizeEntry> pendingSizes_;
};

TrashEnvironment TrashEnvironment::FromProcess() {
  TrashEnvironment env;
  env.uid = getuid();
  const char* xdg = getenv("XDG_DATA_HOME");
  if (xdg && xdg[0] == '/') {
    env.dataHome = xdg;
    return env;
  }
  std::string home;
  if (const char* h = getenv("HOME"); h && h[0] == '/') {
    home = h;
  } else if (struct passwd* pw = getpwuid(env.uid); pw && pw->pw_dir && pw->pw_dir[0] == '/') {
    home = pw->pw_dir;
  }
  // With no absolute home there is no home trash; dataHome stays empty
  // rather than falling back to a folder relative to wherever we run.
  if (!home.empty()) env.dataHome = Join(home, ".local/share");
  return env;
}

TrashEngine::TrashEngine(TrashEnvironment env) : env_(std::move(env)) {}

TrashEngine::~TrashEngine() { Flush(); }

void TrashEngine::Flush() {
  for (auto& [device, dir] : byDevice_) dir->FlushSizes();
}

const std::string& TrashEngine::RealParent(const std::string& parent, int& error) {
  auto found = realParents_.find(parent);
  if (found != realParents_.end()) return found->second;
  char* resolved = realpath(parent.c_str(), nullptr);
  static const std::string kNone;
  if (!resolved) {
    error = errno;
    return kNone;
  }
  std::string real(resolved);
  free(resolved);
  return realParents_.emplace(parent, std::move(real)).first->second;
}

void TrashEngine::ResolveHome() {
  homeFailure_ = NoTrash(ENOENT);
  const std::string& dataHome = env_.dataHome;
  if (dataHome.empty() || dataHome[0] != '/') return;

  // The device the home trash will live on, known even when the data
  // folder does not exist yet: that of its nearest existing ancestor.
  struct stat st;
  for (std::string probe = dataHome;; probe = ParentOf(probe)) {
    if (stat(probe.c_str(), &st) == 0) {
      homeKnown_ = true;
      homeDevice_ = st.st_dev;
      break;
    }
    if (probe == "/") break;
  }

  if (int e = MakeDirectories(dataHome)) {
    homeFailure_ = NoTrash(e);
    return;
  }
  UniqueFd data(open(dataHome.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!data || fstat(data.get(), &st) != 0) {
    homeFailure_ = NoTrash(errno);
    return;
  }
  homeKnown_ = true;
  homeDevice_ = st.st_dev;
  int error = 0;
  auto home = TrashDirectory::Open(data.get(), "Trash", env_.uid, "", error);
  if (!home) {
    homeFailure_ = NoTrash(error);
    return;
  }
  homeFailure_ = TrashResult();
  orphansRemoved_ += home->RemoveOrphans(env_.orphanGraceSeconds);
  byDevice_.emplace(st.st_dev, std::move(home));
}

TrashDirectory* TrashEngine::DirectoryFor(dev_t device, const std::string& parent, TrashResult& failure) {
  auto found = byDevice_.find(device);
  if (found != byDevice_.end()) return found->second.get();
  if (auto bad = unusable_.find(device); bad != unusable_.end()) {
    failure = bad->second;
    return nullptr;
  }

  if (!homeResolved_) {
    homeResolved_ = true;
    ResolveHome();
    if (auto home = byDevice_.find(device); home != byDevice_.end()) return home->second.get();
  }
  if (!homeKnown_ || device == homeDevice_) {
    // The home trash belongs to this file system but could not be made, or
    // there is no home to tell which file system is ours: say why, rather
    // than put a trash anywhere else.
    failure = homeFailure_;
    return nullptr;
  }

  // Find the top directory of the entry's mount: the highest ancestor
  // still on the same device.
  struct stat st;
  if (stat(parent.c_str(), &st) != 0) {
    failure = Failure(errno);
    return nullptr;
  }
  if (st.st_dev != device) {
    // The entry itself is a mount point; it cannot be moved anywhere.
    failure = Failure(EBUSY);
    return nullptr;
  }
  std::string topdir = parent;
  while (topdir != "/") {
    std::string up = ParentOf(topdir);
    if (stat(up.c_str(), &st) != 0 || st.st_dev != device) break;
    topdir = up;
  }

  int error = ENOENT;
  std::unique_ptr<TrashDirectory> chosen;
  if (UniqueFd top(open(topdir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); !top) {
    error = errno;
  } else {
    const std::string uid = std::to_string(env_.uid);
    // The shared .Trash counts only as a real directory with the sticky bit,
    // so that other users cannot swap our folder inside it.
    UniqueFd shared(openat(top.get(), ".Trash", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat sharedStat;
    if (shared && fstat(shared.get(), &sharedStat) == 0 && (sharedStat.st_mode & S_ISVTX)) {
      chosen = TrashDirectory::Open(shared.get(), uid.c_str(), env_.uid, topdir, error);
    }
    if (!chosen) {
      const std::string own = ".Trash-" + uid;
      chosen = TrashDirectory::Open(top.get(), own.c_str(), env_.uid, topdir, error);
    }
  }
  if (!chosen) {
    failure = NoTrash(error);
    unusable_.emplace(device, failure);
    return nullptr;
  }
  orphansRemoved_ += chosen->RemoveOrphans(env_.orphanGraceSeconds);
  return byDevice_.emplace(device, std::move(chosen)).first->second.get();
}

TrashResult TrashEngine::Trash(const std::string& path) {
  if (path.empty()) return Failure(ENOENT);
  if (path.find('\0') != std::string::npos) return Failure(EINVAL);
  // "dir/." and "dir/.." name a folder only through another name; like rm,
  // refuse them rather than guess which entry was meant.
  const size_t last = path.find_last_not_of('/');
  if (last != std::string::npos) {
    const size_t start = path.rfind('/', last) + 1;  // npos + 1 == 0
    const std::string_view tail(path.data() + start, last + 1 - start);
    if (tail == "." || tail == "..") return Failure(EINVAL);
  }
  std::string cwd;
  if (path[0] != '/') {
    char* here = getcwd(nullptr, 0);
    if (!here) return Failure(errno);
    cwd = here;
    free(here);
  }
  const std::string absolute = AbsolutePath(path, cwd);
  if (absolute == "/") return Failure(EBUSY);
  const size_t slash = absolute.rfind('/');
  const std::string base = absolute.substr(slash + 1);

  int error = 0;
  const std::string& realParent = RealParent(ParentOf(absolute), error);
  if (error) return Failure(error);
  const std::string full = Join(realParent, base);

  struct stat st;
  if (lstat(full.c_str(), &st) != 0) return Failure(errno);
  TrashResult failure;
  TrashDirectory* dir = DirectoryFor(st.st_dev, realParent, failure);
  if (!dir) return failure;
  return dir->Move(full, base, S_ISDIR(st.st_mode));
}

std::string EncodeTrashPath(const std::string& bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (unsigned char c : bytes) {
    if (IsUnreserved(c)) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

bool DecodeTrashPath(const std::string& text, std::string& bytes) {
  bytes.clear();
  bytes.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      bytes += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return false;
    int hi = HexValue(text[i + 1]);
    int lo = HexValue(text[i + 2]);
    if (hi < 0 || lo < 0) return false;
    bytes += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return true;
}

std::string TrashNameFor(const std::string& baseName) {
  std::string stem, ext;
  SplitExtension(baseName, stem, ext);
  return ComposeName(stem, "", ext);
}

std::string AbsolutePath(const std::string& path, const std::string& cwd) {
  std::string joined = path.empty() || path[0] == '/' ? path : cwd + "/" + path;
  std::string out;
  out.reserve(joined.size());
  size_t i = 0;
  while (i < joined.size()) {
    while (i < joined.size() && joined[i] == '/') ++i;
    size_t end = joined.find('/', i);
    if (end == std::string::npos) end = joined.size();
    if (end > i) {
      std::string_view part(joined.data() + i, end - i);
      if (part != ".") {
        out += '/';
        out.append(part);
      }
    }
    i = end;
  }
  return out.empty() ? "/" : out;
}

}  // namespace trash
