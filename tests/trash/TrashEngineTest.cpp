#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <regex>
#include <set>

#include "platform/trash/TrashEngine.h"
#include "tests/support/TempDir.h"
#include "tests/trash/TrashTestUtil.h"

using namespace testsupport;
using trash::TrashEngine;
using trash::TrashStatus;

namespace {

class HomeTrash : public ::testing::Test {
 protected:
  TempDir tmp;
  std::string dataHome = tmp / "data";
  std::string trashDir = dataHome + "/Trash";
  std::string work = tmp / "work";
  void SetUp() override { MakeDir(work); }
  TrashEngine engine{EnvWithDataHome(dataHome)};
};

struct NameCase {
  const char* label;
  std::string name;
};

TEST_F(HomeTrash, AwkwardNamesRestoreByteForByte) {
  const NameCase cases[] = {
      {"non-UTF-8 byte", "caf\xe9 \xff.txt"},
      {"newline", "two\nlines"},
      {"percent", "100% done %41"},
      {"spaces", " lead and trail "},
      {"leading dash", "-rf"},
      {"Japanese", "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.txt"},
      {"255 bytes", std::string(251, 'n') + ".txt"},
      {"plus and hash", "a+b#c?d=e&f"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string path = work + "/" + c.name;
    WriteFile(path, c.label);
    auto result = engine.Trash(path);
    ASSERT_EQ(result.status, TrashStatus::Done) << "errno " << result.error;
    EXPECT_FALSE(Exists(path));
    EXPECT_EQ(ReadFile(trashDir + "/files/" + result.trashedAs), c.label);
    EXPECT_LE(result.trashedAs.size() + strlen(".trashinfo"), 255u);
    auto info = ReadInfo(trashDir, result.trashedAs);
    ASSERT_TRUE(info.valid);
    EXPECT_EQ(info.path, path);
    EXPECT_TRUE(std::regex_match(info.date, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)"))) << info.date;
  }
}

TEST_F(HomeTrash, CreatesMissingDataFolderPrivately) {
  struct stat st;
  ASSERT_FALSE(Exists(dataHome));
  WriteFile(work + "/f");
  ASSERT_TRUE(engine.Trash(work + "/f").ok());
  for (const auto& dir : {dataHome, trashDir, trashDir + "/files", trashDir + "/info"}) {
    ASSERT_EQ(stat(dir.c_str(), &st), 0) << dir;
    EXPECT_EQ(st.st_mode & 07777, 0700u) << dir;
  }
}

TEST_F(HomeTrash, RelativeAndUntidyPathsAreRecordedAbsolute) {
  MakeDir(work + "/sub");
  WriteFile(work + "/sub/a");
  WriteFile(work + "/b");
  WriteFile(work + "/c");
  char* old = getcwd(nullptr, 0);
  ASSERT_EQ(chdir(work.c_str()), 0);
  auto a = engine.Trash("sub//./a");
  auto b = engine.Trash("sub/../b");
  auto c = engine.Trash("c");
  ASSERT_EQ(chdir(old), 0);
  free(old);
  ASSERT_TRUE(a.ok() && b.ok() && c.ok());
  char* real = realpath(work.c_str(), nullptr);
  std::string realWork = real;
  free(real);
  EXPECT_EQ(ReadInfo(trashDir, a.trashedAs).path, realWork + "/sub/a");
  EXPECT_EQ(ReadInfo(trashDir, b.trashedAs).path, realWork + "/b");
  EXPECT_EQ(ReadInfo(trashDir, c.trashedAs).path, realWork + "/c");
}

TEST_F(HomeTrash, SymlinksGoAsLinksAndTargetsStay) {
  WriteFile(work + "/target", "keep me");
  ASSERT_EQ(symlink("target", (work + "/link").c_str()), 0);
  ASSERT_EQ(symlink("nowhere", (work + "/dangling").c_str()), 0);
  MakeDir(work + "/dir");
  ASSERT_EQ(symlink("dir", (work + "/dirlink").c_str()), 0);

  for (const char* name : {"link", "dangling", "dirlink"}) {
    SCOPED_TRACE(name);
    auto r = engine.Trash(work + "/" + name);
    ASSERT_TRUE(r.ok()) << r.error;
    struct stat st;
    ASSERT_EQ(lstat((trashDir + "/files/" + r.trashedAs).c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
  }
  EXPECT_EQ(ReadFile(work + "/target"), "keep me");
  EXPECT_TRUE(Exists(work + "/dir"));
  // A trailing slash names the link's own entry too, never its target.
  ASSERT_EQ(symlink("dir", (work + "/slashed").c_str()), 0);
  auto r = engine.Trash(work + "/slashed/");
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(Exists(work + "/dir"));
}

TEST_F(HomeTrash, FolderGoesWholeAndItsSizeIsCached) {
  MakeDir(work + "/folder");
  MakeDir(work + "/folder/inner");
  WriteFile(work + "/folder/inner/data", std::string(10000, 'd'));
  auto r = engine.Trash(work + "/folder");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(ReadFile(trashDir + "/files/" + r.trashedAs + "/inner/data").size(), 10000u);
  engine.Flush();
  std::string sizes = ReadFile(trashDir + "/directorysizes");
  struct stat info;
  ASSERT_EQ(stat((trashDir + "/info/" + r.trashedAs + ".trashinfo").c_str(), &info), 0);
  std::smatch m;
  ASSERT_TRUE(std::regex_match(sizes, m, std::regex(R"((\d+) (\d+) folder\n)"))) << sizes;
  EXPECT_GE(std::stoull(m[1]), 10000u);
  EXPECT_EQ(std::stoll(m[2]), static_cast<long long>(info.st_mtime));
  // No temporary file is left beside the cache.
  for (const auto& name : ListDir(trashDir)) EXPECT_TRUE(name == "files" || name == "info" || name == "directorysizes") << name;
}

TEST_F(HomeTrash, SameNamesNeverOverwrite) {
  const int kFolders = 5;
  for (int i = 0; i < kFolders; ++i) {
    MakeDir(work + "/d" + std::to_string(i));
    WriteFile(work + "/d" + std::to_string(i) + "/report.txt", std::to_string(i));
  }
  // A leftover in files/ with no info file must survive too.
  MakeDir(dataHome, 0700);
  MakeDir(trashDir, 0700);
  MakeDir(trashDir + "/files", 0700);
  MakeDir(trashDir + "/info", 0700);
  WriteFile(trashDir + "/files/report.2.txt", "orphan");

  std::set<std::string> names;
  for (int i = 0; i < kFolders; ++i) {
    auto r = engine.Trash(work + "/d" + std::to_string(i) + "/report.txt");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(ReadFile(trashDir + "/files/" + r.trashedAs), std::to_string(i));
    EXPECT_EQ(ReadInfo(trashDir, r.trashedAs).path, work + "/d" + std::to_string(i) + "/report.txt");
    names.insert(r.trashedAs);
  }
  EXPECT_EQ(names.size(), static_cast<size_t>(kFolders));
  EXPECT_EQ(ReadFile(trashDir + "/files/report.2.txt"), "orphan");
  EXPECT_FALSE(Exists(trashDir + "/info/report.2.txt.trashinfo"));
}

TEST_F(HomeTrash, CrowdedTrashEndsTheSearchInBoundedTime) {
  MakeDir(dataHome, 0700);
  MakeDir(trashDir, 0700);
  MakeDir(trashDir + "/files", 0700);
  MakeDir(trashDir + "/info", 0700);
  // Every name the counting search would try is taken already.
  WriteFile(trashDir + "/info/busy.trashinfo");
  for (int n = 2; n <= 200; ++n) WriteFile(trashDir + "/info/busy." + std::to_string(n) + ".trashinfo");
  WriteFile(work + "/busy", "mine");
  auto r = engine.Trash(work + "/busy");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(ReadFile(trashDir + "/files/" + r.trashedAs), "mine");
  EXPECT_EQ(ReadInfo(trashDir, r.trashedAs).path, work + "/busy");
}

TEST_F(HomeTrash, LongNamesKeepTheirExtension) {
  const std::string longName = std::string(240, 'x') + ".jpeg";
  for (int i = 0; i < 3; ++i) {
    MakeDir(work + "/" + std::to_string(i));
    WriteFile(work + "/" + std::to_string(i) + "/" + longName, std::to_string(i));
    auto r = engine.Trash(work + "/" + std::to_string(i) + "/" + longName);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_LE(r.trashedAs.size(), 245u);
    EXPECT_EQ(r.trashedAs.substr(r.trashedAs.size() - 5), ".jpeg");
    EXPECT_EQ(ReadInfo(trashDir, r.trashedAs).path, work + "/" + std::to_string(i) + "/" + longName);
  }
  // A cut never splits a multibyte character.
  std::string wide;
  while (wide.size() < 250) wide += "\xe3\x81\x82";  // あ
  EXPECT_EQ(trash::TrashNameFor(wide).size() % 3, 0u);
}

TEST_F(HomeTrash, FailuresLeaveTheFileWhereItWas) {
  struct Case {
    const char* label;
    std::string path;
    TrashStatus expected;
  };
  WriteFile(work + "/f");
  MakeDir(work + "/sub");
  const Case cases[] = {
      {"missing", work + "/missing", TrashStatus::NotFound},
      {"empty", "", TrashStatus::NotFound},
      {"missing parent", work + "/none/f", TrashStatus::NotFound},
      {"through a file", work + "/f/x", TrashStatus::NotFound},
      {"root", "/", TrashStatus::IoError},
      {"dot", work + "/.", TrashStatus::IoError},
      {"dot dot", work + "/sub/..", TrashStatus::IoError},
      {"dot slash", work + "/./", TrashStatus::IoError},
      {"bare dot", ".", TrashStatus::IoError},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(engine.Trash(c.path).status, c.expected);
  }
  EXPECT_TRUE(Exists(work + "/f"));
  EXPECT_TRUE(Exists(work + "/sub"));
  EXPECT_TRUE(ListDir(trashDir + "/info").empty());
}

TEST(TrashFaults, UnwritableInfoFolderRefusesAndKeepsTheFile) {
  TempDir tmp;
  const uid_t uid = UnprivilegedUid();
  const std::string dataHome = tmp / "data", trashDir = dataHome + "/Trash";
  for (const auto& dir : {dataHome, trashDir, trashDir + "/files", trashDir + "/info"}) MakeDir(dir, 0700);
  MakeDir(tmp / "work", 0777);
  WriteFile(tmp / "work/keep", "data");
  for (const auto& p : {dataHome, trashDir, trashDir + "/files", trashDir + "/info", tmp / "work/keep"})
    ASSERT_EQ(chown(p.c_str(), uid, uid), 0);
  ASSERT_EQ(chown(tmp.path().c_str(), uid, uid), 0);
  chmod((trashDir + "/info").c_str(), 0500);

  int status = RunInChild(uid, [&] {
    trash::TrashEnvironment env{dataHome, uid};
    TrashEngine engine(env);
    return static_cast<int>(engine.Trash(tmp / "work/keep").status);
  });
  EXPECT_EQ(status, static_cast<int>(TrashStatus::PermissionDenied));
  EXPECT_EQ(ReadFile(tmp / "work/keep"), "data");
  EXPECT_TRUE(ListDir(trashDir + "/files").empty());
}

TEST(TrashFaults, DataFolderThatCannotBeMadeMeansNoTrash) {
  TempDir tmp;
  WriteFile(tmp / "notadir");
  WriteFile(tmp / "f", "data");
  TrashEngine engine(EnvWithDataHome(tmp / "notadir/share"));
  auto r = engine.Trash(tmp / "f");
  EXPECT_EQ(r.status, TrashStatus::NoTrash);
  EXPECT_EQ(r.error, ENOTDIR);
  EXPECT_EQ(ReadFile(tmp / "f"), "data");
}

TEST(TrashFaults, NoHomeMeansNoTrashAnywhere) {
  TempDir tmp;
  WriteFile(tmp / "f");
  char* old = getcwd(nullptr, 0);
  ASSERT_EQ(chdir(tmp.path().c_str()), 0);
  TrashEngine engine(EnvWithDataHome(""));
  auto r = engine.Trash("f");
  ASSERT_EQ(chdir(old), 0);
  free(old);
  EXPECT_EQ(r.status, TrashStatus::NoTrash);
  EXPECT_EQ(ListDir(tmp.path()), std::vector<std::string>{"f"});
}

TEST(TrashEnvironment, IgnoresRelativeDataHome) {
  ScopedEnv home("HOME", "/home/someone");
  {
    ScopedEnv xdg("XDG_DATA_HOME", "relative/share");
    EXPECT_EQ(trash::TrashEnvironment::FromProcess().dataHome, "/home/someone/.local/share");
  }
  ScopedEnv xdg("XDG_DATA_HOME", "/elsewhere/share");
  EXPECT_EQ(trash::TrashEnvironment::FromProcess().dataHome, "/elsewhere/share");
}

TEST(TrashPathEncoding, RoundTripsEveryByte) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  std::string encoded = trash::EncodeTrashPath("/" + all);
  for (char c : encoded) EXPECT_TRUE(c > 32 && c < 127) << int(c);
  std::string back;
  ASSERT_TRUE(trash::DecodeTrashPath(encoded, back));
  EXPECT_EQ(back, "/" + all);
  EXPECT_EQ(trash::EncodeTrashPath("/a b/%/\xe9"), "/a%20b/%25/%E9");
  for (const char* bad : {"%", "%4", "%zz", "a%2"}) EXPECT_FALSE(trash::DecodeTrashPath(bad, back)) << bad;
}

TEST(TrashPaths, AbsolutePathIsLexical) {
  struct Case {
    const char* in;
    const char* cwd;
    const char* out;
  } cases[] = {
      {"/a//b/./c/", "", "/a/b/c"}, {"x", "/w", "/w/x"}, {"./x/", "/w", "/w/x"},
      {"../x", "/w", "/w/../x"},    {"/", "", "/"},      {"//", "", "/"},
  };
  for (const auto& c : cases) EXPECT_EQ(trash::AbsolutePath(c.in, c.cwd), c.out) << c.in;
}

}  // namespace

namespace {

TEST(TrashOrphans, InfoFilesWithoutTheirEntryGoOnceOldEnough) {
  TempDir tmp;
  const std::string trashDir = tmp / "data/Trash";
  MakeDir(tmp / "data", 0700);
  for (const auto& d : {trashDir, trashDir + "/files", trashDir + "/info"}) MakeDir(d, 0700);
  WriteFile(trashDir + "/info/ghost.trashinfo", "[Trash Info]\nPath=/nowhere\nDeletionDate=2026-01-01T00:00:00\n");
  WriteFile(trashDir + "/info/young.trashinfo", "[Trash Info]\nPath=/nowhere2\nDeletionDate=2026-01-01T00:00:00\n");
  WriteFile(trashDir + "/info/kept.trashinfo", "[Trash Info]\nPath=/kept\nDeletionDate=2026-01-01T00:00:00\n");
  WriteFile(trashDir + "/files/kept", "k");
  WriteFile(trashDir + "/info/notes.txt", "not an info file");
  struct timespec old[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
  for (const char* n : {"ghost.trashinfo", "kept.trashinfo", "notes.txt"})
    ASSERT_EQ(utimensat(AT_FDCWD, (trashDir + "/info/" + n).c_str(), old, 0), 0);

  WriteFile(tmp / "f");
  trash::TrashEnvironment env{tmp / "data", geteuid()};
  env.orphanGraceSeconds = 60;
  TrashEngine engine(env);
  ASSERT_TRUE(engine.Trash(tmp / "f").ok());
  EXPECT_EQ(engine.OrphansRemoved(), 1u);
  EXPECT_EQ(ListDir(trashDir + "/info"),
            (std::vector<std::string>{"f.trashinfo", "kept.trashinfo", "notes.txt", "young.trashinfo"}));
}

}  // namespace
