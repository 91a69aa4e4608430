#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/winapi/Kernel.h"
#include "tests/support/TempDir.h"

using namespace testsupport;

namespace {

TEST(DeleteFile, RemovesOneEntryAndRefusesTheRest) {
  TempDir tmp;
  WriteFile(tmp / "target", "keep");
  WriteFile(tmp / "plain");
  WriteFile(tmp / "readonly");
  chmod((tmp / "readonly").c_str(), 0444);
  MakeDir(tmp / "folder");
  ASSERT_EQ(symlink("target", (tmp / "link").c_str()), 0);
  ASSERT_EQ(symlink("nowhere", (tmp / "dangling").c_str()), 0);
  ASSERT_EQ(symlink("target", (tmp / "readonly-link").c_str()), 0);
  chmod((tmp / "target").c_str(), 0444);

  struct Case {
    const char* name;
    bool deleted;
  } cases[] = {
      {"plain", true},     {"readonly", false}, {"folder", false},        {"link", true},
      {"dangling", true},  {"missing", false},  {"readonly-link", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DeleteFileA((tmp / c.name).c_str()) != FALSE, c.deleted);
    if (std::string(c.name) != "missing") {
      EXPECT_EQ(Exists(tmp / c.name), !c.deleted);
    }
  }
  // Targets are never touched, and a refused file keeps its attributes.
  EXPECT_EQ(ReadFile(tmp / "target"), "keep");
  struct stat st;
  ASSERT_EQ(stat((tmp / "readonly").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0444u);
  EXPECT_FALSE(DeleteFileA(""));
  EXPECT_FALSE(DeleteFileA(nullptr));
}

}  // namespace
