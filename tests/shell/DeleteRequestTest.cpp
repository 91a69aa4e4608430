#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/shell/DeleteRequest.h"
#include "tests/support/ScriptedShell.h"
#include "tests/support/TempDir.h"

using namespace testsupport;
using shell::ErrorAnswer;
using shell::NoTrashAnswer;

namespace {

class Recycle : public ::testing::Test {
 protected:
  shell::RequestOutcome Run(std::vector<std::string> paths) {
    shell::DeleteRequest request;
    request.paths = std::move(paths);
    trash::TrashEngine engine(trash::TrashEnvironment{tmp / "data", geteuid()});
    return shell::RecyclePaths(request, prompts, engine);
  }
  TempDir tmp;
  ScriptedPrompts prompts;
};

TEST_F(Recycle, AsksOnceThenTrashesWithProgress) {
  for (const char* n : {"a", "b", "c"}) WriteFile(tmp / n);
  auto outcome = Run({tmp / "a", tmp / "b", tmp / "c"});
  EXPECT_TRUE(outcome.allDone);
  EXPECT_FALSE(outcome.aborted);
  EXPECT_EQ(prompts.confirmations, 1);
  EXPECT_EQ(prompts.lastDone, 3u);
  for (const char* n : {"a", "b", "c"}) EXPECT_FALSE(Exists(tmp / n));
}

TEST_F(Recycle, DecliningTouchesNothing) {
  WriteFile(tmp / "a");
  prompts.confirm = false;
  auto outcome = Run({tmp / "a"});
  EXPECT_TRUE(outcome.aborted);
  EXPECT_TRUE(Exists(tmp / "a"));
  EXPECT_FALSE(Exists(tmp / "data/Trash"));
}

TEST_F(Recycle, ErrorAnswersDecideWhatHappensNext) {
  struct Case {
    const char* label;
    std::deque<ErrorAnswer> answers;
    int asked;              // error windows shown
    bool lastFileTrashed;   // the good file after the two bad ones
    bool aborted;
  } cases[] = {
      {"skip each", {ErrorAnswer::Skip, ErrorAnswer::Skip}, 2, true, false},
      {"skip all", {ErrorAnswer::SkipAll}, 1, true, false},
      {"retry, then skip", {ErrorAnswer::Retry, ErrorAnswer::Skip, ErrorAnswer::Skip}, 3, true, false},
      {"cancel", {ErrorAnswer::Cancel}, 1, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    WriteFile(tmp / "good");
    prompts = ScriptedPrompts();
    prompts.errorAnswers = c.answers;
    auto outcome = Run({tmp / "missing1", tmp / "missing2", tmp / "good"});
    EXPECT_FALSE(outcome.allDone);
    EXPECT_EQ(outcome.aborted, c.aborted);
    EXPECT_EQ(static_cast<int>(prompts.failures.size()), c.asked);
    EXPECT_EQ(Exists(tmp / "good"), !c.lastFileTrashed);
    unlink((tmp / "good").c_str());
  }
}

TEST_F(Recycle, CancelOnTheProgressWindowStopsBetweenFiles) {
  for (const char* n : {"a", "b", "c"}) WriteFile(tmp / n);
  prompts.cancelAfter = 1;
  auto outcome = Run({tmp / "a", tmp / "b", tmp / "c"});
  EXPECT_TRUE(outcome.aborted);
  EXPECT_FALSE(Exists(tmp / "a"));
  EXPECT_TRUE(Exists(tmp / "b"));
  EXPECT_TRUE(Exists(tmp / "c"));
}

TEST_F(Recycle, NoTrashDeletesForGoodOnlyWhenTold) {
  TmpfsMount fs;
  if (!fs.mounted()) GTEST_SKIP() << "needs root to mount a tmpfs";
  // A file where the private trash should be: that file system has none.
  WriteFile(fs.path() + "/.Trash-" + std::to_string(geteuid()));
  struct Case {
    const char* label;
    std::deque<NoTrashAnswer> answers;
    std::vector<bool> gone;  // x, y, z
    int asked;
    bool aborted;
  } cases[] = {
      {"yes, then no", {NoTrashAnswer::Yes, NoTrashAnswer::No, NoTrashAnswer::No}, {true, false, false}, 3, false},
      {"yes to all", {NoTrashAnswer::YesToAll}, {true, true, true}, 1, false},
      {"no", {}, {false, false, false}, 3, false},
      {"cancel", {NoTrashAnswer::Cancel}, {false, false, false}, 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    WriteFile(fs.path() + "/x");
    WriteFile(fs.path() + "/y");
    MakeDir(fs.path() + "/z");
    WriteFile(fs.path() + "/z/inner");
    prompts = ScriptedPrompts();
    prompts.noTrashAnswers = c.answers;
    auto outcome = Run({fs.path() + "/x", fs.path() + "/y", fs.path() + "/z"});
    EXPECT_EQ(outcome.aborted, c.aborted);
    EXPECT_EQ(static_cast<int>(prompts.askedNoTrash.size()), c.asked);
    EXPECT_EQ(!Exists(fs.path() + "/x"), c.gone[0]);
    EXPECT_EQ(!Exists(fs.path() + "/y"), c.gone[1]);
    EXPECT_EQ(!Exists(fs.path() + "/z"), c.gone[2]);
    shell::RemovePermanently(fs.path() + "/x");
    shell::RemovePermanently(fs.path() + "/y");
    shell::RemovePermanently(fs.path() + "/z");
  }
}

TEST(RemovePermanently, RemovesTheTreeButNeverFollowsLinks) {
  TempDir tmp;
  MakeDir(tmp / "outside");
  WriteFile(tmp / "outside/keep", "keep");
  MakeDir(tmp / "tree");
  MakeDir(tmp / "tree/sub");
  WriteFile(tmp / "tree/sub/f");
  ASSERT_EQ(symlink((tmp / "outside").c_str(), (tmp / "tree/sub/dirlink").c_str()), 0);
  ASSERT_EQ(symlink((tmp / "outside/keep").c_str(), (tmp / "tree/filelink").c_str()), 0);
  EXPECT_EQ(shell::RemovePermanently(tmp / "tree"), 0);
  EXPECT_FALSE(Exists(tmp / "tree"));
  EXPECT_EQ(ReadFile(tmp / "outside/keep"), "keep");
  EXPECT_EQ(shell::RemovePermanently(tmp / "tree"), ENOENT);
}

}  // namespace
