// Trash on a second file system: a tmpfs mounted for the test (root only).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/trash/TrashEngine.h"
#include "tests/support/TempDir.h"
#include "tests/trash/TrashTestUtil.h"

using namespace testsupport;
using trash::TrashEngine;
using trash::TrashStatus;

namespace {

class TopDirTrash : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!mount.mounted()) GTEST_SKIP() << "needs root to mount a tmpfs";
    top = mount.path();
    MakeDir(top + "/docs");
  }
  std::string Uid() const { return std::to_string(geteuid()); }

  TempDir home;  // the home trash lives on another file system
  TmpfsMount mount;
  std::string top;
  TrashEngine engine{EnvWithDataHome(home / "data")};
};

TEST_F(TopDirTrash, PrivateTrashWithRelativePath) {
  WriteFile(top + "/docs/a b.txt", "A");
  auto r = engine.Trash(top + "/docs/a b.txt");
  ASSERT_TRUE(r.ok()) << r.error;
  const std::string trashDir = top + "/.Trash-" + Uid();
  struct stat st;
  ASSERT_EQ(lstat(trashDir.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0700u);
  EXPECT_EQ(ReadFile(trashDir + "/files/" + r.trashedAs), "A");
  auto info = ReadInfo(trashDir, r.trashedAs);
  ASSERT_TRUE(info.valid);
  EXPECT_EQ(info.path, "docs/a b.txt");
  EXPECT_FALSE(Exists(home / "data/Trash/files/" + r.trashedAs));
}

TEST_F(TopDirTrash, SharedTrashNeedsARealStickyDirectory) {
  struct Case {
    const char* label;
    std::function<void(const std::string& top)> prepare;
    bool usesShared;
  };
  const Case cases[] = {
      {"sticky .Trash", [](const std::string& t) { MakeDir(t + "/.Trash", 01777); }, true},
      {"no sticky bit", [](const std::string& t) { MakeDir(t + "/.Trash", 0777); }, false},
      {".Trash a symlink to a sticky folder",
       [](const std::string& t) {
         MakeDir(t + "/sticky", 01777);
         ASSERT_EQ(symlink("sticky", (t + "/.Trash").c_str()), 0);
       },
       false},
      {".Trash a file", [](const std::string& t) { WriteFile(t + "/.Trash"); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    TmpfsMount fs;
    ASSERT_TRUE(fs.mounted());
    c.prepare(fs.path());
    WriteFile(fs.path() + "/f", c.label);
    TrashEngine fresh(EnvWithDataHome(home / "data"));
    auto r = fresh.Trash(fs.path() + "/f");
    ASSERT_TRUE(r.ok()) << r.error;
    const std::string trashDir = c.usesShared ? fs.path() + "/.Trash/" + Uid() : fs.path() + "/.Trash-" + Uid();
    EXPECT_EQ(ReadFile(trashDir + "/files/" + r.trashedAs), c.label);
    EXPECT_EQ(ReadInfo(trashDir, r.trashedAs).path, "f");
    if (!c.usesShared) {
      EXPECT_TRUE(ListDir(fs.path() + "/sticky").empty());
    }
  }
}

TEST_F(TopDirTrash, UnusablePrivateTrashMeansNoTrash) {
  struct Case {
    const char* label;
    std::function<void(const std::string& top)> prepare;
  };
  const std::string own = "/.Trash-" + Uid();
  const Case cases[] = {
      {".Trash-uid a symlink",
       [&](const std::string& t) {
         MakeDir(t + "/elsewhere", 0700);
         ASSERT_EQ(symlink("elsewhere", (t + own).c_str()), 0);
       }},
      {".Trash-uid owned by someone else",
       [&](const std::string& t) {
         MakeDir(t + own, 0700);
         ASSERT_EQ(chown((t + own).c_str(), geteuid() + 1, 0), 0);
       }},
      {".Trash-uid a file", [&](const std::string& t) { WriteFile(t + own); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    TmpfsMount fs;
    ASSERT_TRUE(fs.mounted());
    c.prepare(fs.path());
    WriteFile(fs.path() + "/f", "stay");
    TrashEngine fresh(EnvWithDataHome(home / "data"));
    EXPECT_EQ(fresh.Trash(fs.path() + "/f").status, TrashStatus::NoTrash);
    // Asked again, the answer is the same and nothing was made meanwhile.
    EXPECT_EQ(fresh.Trash(fs.path() + "/f").status, TrashStatus::NoTrash);
    EXPECT_EQ(ReadFile(fs.path() + "/f"), "stay");
    if (Exists(fs.path() + "/elsewhere")) {
      EXPECT_TRUE(ListDir(fs.path() + "/elsewhere").empty());
    }
  }
}

TEST_F(TopDirTrash, PathOutsideTheMountIsResolvedThroughSymlinks) {
  WriteFile(top + "/docs/x", "X");
  ASSERT_EQ(symlink((top + "/docs").c_str(), (home / "shortcut").c_str()), 0);
  auto r = engine.Trash(home / "shortcut/x");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(ReadInfo(top + "/.Trash-" + Uid(), r.trashedAs).path, "docs/x");
}

TEST_F(TopDirTrash, MountPointItselfIsRefused) {
  EXPECT_EQ(engine.Trash(top).status, TrashStatus::IoError);
  EXPECT_TRUE(Exists(top + "/docs"));
}

TEST(TrashFaults, FullFileSystemFailsCleanly) {
  TempDir home;
  TmpfsMount fs("size=256k");
  if (!fs.mounted()) GTEST_SKIP() << "needs root to mount a tmpfs";
  WriteFile(fs.path() + "/victim", "precious");
  TrashEngine engine(EnvWithDataHome(home / "data"));
  // Make the trash folders while there is room, then fill the disk.
  WriteFile(fs.path() + "/warmup");
  ASSERT_TRUE(engine.Trash(fs.path() + "/warmup").ok());
  {
    FILE* filler = fopen((fs.path() + "/filler").c_str(), "w");
    ASSERT_NE(filler, nullptr);
    std::string block(4096, 'f');
    while (fwrite(block.data(), 1, block.size(), filler) == block.size() && fflush(filler) == 0) {
    }
    fclose(filler);
  }
  const std::string trashDir = fs.path() + "/.Trash-" + std::to_string(geteuid());
  const auto infoBefore = ListDir(trashDir + "/info");
  auto r = engine.Trash(fs.path() + "/victim");
  EXPECT_EQ(r.status, TrashStatus::IoError);
  EXPECT_EQ(r.error, ENOSPC);
  EXPECT_EQ(ReadFile(fs.path() + "/victim"), "precious");
  EXPECT_EQ(ListDir(trashDir + "/info"), infoBefore);
}

}  // namespace
