// What the engine trashes, the tools people restore with must list:
// trash-cli's trash-list and GIO (file managers' view of trash:///).
#include <gtest/gtest.h>

#include "platform/trash/TrashEngine.h"
#include "tests/support/TempDir.h"
#include "tests/trash/TrashTestUtil.h"

using namespace testsupport;

namespace {

// gio prints attribute values with bytes outside printable ASCII escaped.
std::string GioEscaped(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c < 0x20 || c >= 0x7f) {
      char buf[8];
      snprintf(buf, sizeof buf, "\\x%02x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

bool HaveCommand(const char* name) {
  int status = 0;
  RunCommand(std::string("command -v ") + name + " >/dev/null 2>&1", &status);
  return status == 0;
}

class TrashOracle : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeDir(tmp / "work");
    for (const auto& name : names) {
      WriteFile(tmp / "work/" + name, name);
      auto r = engine.Trash(tmp / "work/" + name);
      ASSERT_TRUE(r.ok()) << name;
    }
    MakeDir(tmp / "work/folder");
    WriteFile(tmp / "work/folder/inside");
    ASSERT_TRUE(engine.Trash(tmp / "work/folder").ok());
    engine.Flush();
  }
  std::string Env() const {
    return "env XDG_DATA_HOME=" + ShellQuote(tmp / "data") + " HOME=" + ShellQuote(tmp.path()) + " ";
  }

  TempDir tmp;
  trash::TrashEngine engine{EnvWithDataHome(tmp / "data")};
  const std::vector<std::string> names{"plain.txt", "with space", "100%", "-dash", "\xe6\x97\xa5\xe6\x9c\xac"};
};

TEST_F(TrashOracle, TrashCliListsEveryEntry) {
  if (!HaveCommand("trash-list")) GTEST_SKIP() << "trash-cli is not installed";
  int status = 0;
  std::string out = RunCommand(Env() + "trash-list 2>&1", &status);
  EXPECT_EQ(status, 0) << out;
  for (const auto& name : names) EXPECT_NE(out.find(" " + tmp / "work/" + name + "\n"), std::string::npos) << name << "\n" << out;
  EXPECT_NE(out.find(" " + tmp / "work/folder\n"), std::string::npos) << out;
}

TEST_F(TrashOracle, GioListsEveryEntry) {
  if (!HaveCommand("gio") || !HaveCommand("dbus-run-session")) GTEST_SKIP() << "gio or dbus is not installed";
  int status = 0;
  std::string out = RunCommand(Env() + "dbus-run-session -- gio list -a trash::orig-path trash:/// 2>&1", &status);
  if (out.find("Operation not supported") != std::string::npos) GTEST_SKIP() << "gvfs trash backend unavailable: " << out;
  EXPECT_EQ(status, 0) << out;
  for (const auto& name : names) {
    EXPECT_NE(out.find("trash::orig-path=" + GioEscaped(tmp / "work/" + name) + "\n"), std::string::npos)
        << name << "\n" << out;
  }
  EXPECT_NE(out.find("trash::orig-path=" + tmp / "work/folder"), std::string::npos) << out;
}

TEST_F(TrashOracle, TrashCliRestoresByteForByte) {
  if (!HaveCommand("trash-restore")) GTEST_SKIP() << "trash-cli is not installed";
  // trash-restore asks which entry to restore; answer with the first match.
  const std::string target = tmp / "work/with space";
  int status = 0;
  std::string out = RunCommand("cd " + ShellQuote(tmp / "work") + " && echo 0 | " + Env() + "trash-restore " +
                                   ShellQuote(target) + " 2>&1",
                               &status);
  EXPECT_EQ(ReadFile(target), "with space") << out;
}

}  // namespace
