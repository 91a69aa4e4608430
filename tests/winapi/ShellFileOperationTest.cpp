#include <gtest/gtest.h>

#include "platform/winapi/ShellApi.h"
#include "tests/support/ScriptedShell.h"
#include "tests/support/TempDir.h"

using namespace testsupport;

namespace {

class ShellFileOperation : public ::testing::Test {
 protected:
  TempDir tmp;
  ScopedEnv data{"XDG_DATA_HOME", tmp / "data"};
  ScriptedPrompts prompts;

  SHFILEOPSTRUCTA Request(const std::string& list) {
    list_ = list;
    SHFILEOPSTRUCTA op{};
    op.hwnd = reinterpret_cast<HWND>(0x42);
    op.wFunc = FO_DELETE;
    op.pFrom = list_.c_str();
    op.fFlags = FOF_ALLOWUNDO;
    return op;
  }

 private:
  std::string list_;
};

TEST_F(ShellFileOperation, CarriesEveryPathOfTheListInOneRun) {
  ScopedExecutor executor(prompts);
  WriteFile(tmp / "a");
  WriteFile(tmp / "b c");
  auto op = Request(tmp / "a" + '\0' + tmp / "b c" + '\0' + '\0');
  EXPECT_EQ(SHFileOperationA(&op), 0);
  EXPECT_EQ(op.fAnyOperationsAborted, FALSE);
  EXPECT_EQ(prompts.confirmations, 1);
  EXPECT_EQ(prompts.confirmedPaths, (std::vector<std::string>{tmp / "a", tmp / "b c"}));
  EXPECT_FALSE(Exists(tmp / "a"));
  EXPECT_FALSE(Exists(tmp / "b c"));
  EXPECT_EQ(ListDir(tmp / "data/Trash/files").size(), 2u);
}

TEST_F(ShellFileOperation, ReportsDecliningAndFailures) {
  ScopedExecutor executor(prompts);
  WriteFile(tmp / "a");
  prompts.confirm = false;
  auto op = Request(tmp / "a" + '\0' + '\0');
  EXPECT_NE(SHFileOperationA(&op), 0);
  EXPECT_EQ(op.fAnyOperationsAborted, TRUE);
  EXPECT_TRUE(Exists(tmp / "a"));

  prompts.confirm = true;
  auto missing = Request(tmp / "missing" + '\0' + tmp / "a" + '\0' + '\0');
  EXPECT_NE(SHFileOperationA(&missing), 0);
  EXPECT_EQ(missing.fAnyOperationsAborted, FALSE);
  ASSERT_EQ(prompts.failures.size(), 1u);
  EXPECT_EQ(prompts.failures[0].second, trash::TrashStatus::NotFound);
  EXPECT_FALSE(Exists(tmp / "a"));
}

TEST_F(ShellFileOperation, TouchesNothingItCannotConfirmOrUndo) {
  WriteFile(tmp / "a");
  auto noWindows = Request(tmp / "a" + '\0' + '\0');
  EXPECT_NE(SHFileOperationA(&noWindows), 0);
  EXPECT_EQ(noWindows.fAnyOperationsAborted, TRUE);

  ScopedExecutor executor(prompts);
  auto noUndo = Request(tmp / "a" + '\0' + '\0');
  noUndo.fFlags = 0;
  EXPECT_NE(SHFileOperationA(&noUndo), 0);
  auto copy = Request(tmp / "a" + '\0' + '\0');
  copy.wFunc = FO_COPY;
  EXPECT_NE(SHFileOperationA(&copy), 0);
  EXPECT_EQ(prompts.confirmations, 0);
  EXPECT_TRUE(Exists(tmp / "a"));
}

}  // namespace
