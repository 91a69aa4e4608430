// The real trash request killed with SIGKILL at random moments while
// 10,000 files go to the trash: every file must stand either where it was
// or in the trash with an info file that restores it.
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <random>
#include <thread>

#include "platform/winapi/ShellApi.h"
#include "tests/support/ScriptedShell.h"
#include "tests/support/TempDir.h"
#include "tests/trash/TrashTestUtil.h"

using namespace testsupport;

namespace {

constexpr int kRuns = 20;  // kills that land while files are moving
constexpr int kFiles = 10000;

// The request the OK button sends, run with "yes" to the confirmation.
[[noreturn]] void RecycleAll(const std::vector<std::string>& paths) {
  ScriptedPrompts yes;
  ScopedExecutor executor(yes);
  std::string request;
  for (const auto& p : paths) request += p + '\0';
  request += '\0';
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_DELETE;
  op.pFrom = request.c_str();
  op.fFlags = FOF_ALLOWUNDO;
  _exit(SHFileOperationA(&op) == 0 ? 0 : 1);
}

// Original path -> name under files/, from the info files that have their
// entry. Info files without one are counted in `orphans`.
std::map<std::string, std::string> ReadTrash(const std::string& trashDir, size_t& orphans) {
  std::map<std::string, std::string> restorable;
  orphans = 0;
  for (const auto& infoName : ListDir(trashDir + "/info")) {
    const std::string name = infoName.substr(0, infoName.size() - strlen(".trashinfo"));
    InfoFile info = ReadInfo(trashDir, name);
    if (!Exists(trashDir + "/files/" + name)) {
      ++orphans;
      continue;
    }
    EXPECT_TRUE(info.valid) << infoName;
    EXPECT_TRUE(restorable.emplace(info.path, name).second) << "two entries restore " << info.path;
  }
  return restorable;
}

TEST(KillTest, NoFileIsLostWhenTheRunIsKilled) {
  TempDir tmp;
  const std::string dataHome = tmp / "data", trashDir = dataHome + "/Trash";
  ScopedEnv data("XDG_DATA_HOME", dataHome);
  std::mt19937 random(20261211);

  auto makeFiles = [&](int run) {
    const std::string dir = tmp / ("run" + std::to_string(run));
    MakeDir(dir);
    std::vector<std::string> paths;
    for (int i = 0; i < kFiles; ++i) {
      // The same names every run, so the trash fills with collisions.
      paths.push_back(dir + "/file " + std::to_string(i) + (i % 3 ? ".txt" : ""));
      WriteFile(paths.back(), paths.back());
    }
    return paths;
  };

  // One full run to learn how long the work takes here.
  auto calibrate = makeFiles(-1);
  auto start = std::chrono::steady_clock::now();
  pid_t child = fork();
  if (child == 0) RecycleAll(calibrate);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_EQ(WEXITSTATUS(status), 0);
  const auto fullRun = std::chrono::steady_clock::now() - start;
  const long long fullUs = std::chrono::duration_cast<std::chrono::microseconds>(fullRun).count();

  // Kill at a random moment of the work, until kRuns kills have landed
  // while files were moving. Disks vary from run to run, so the estimate
  // of the run's length follows what the kills found.
  size_t totalFiles = 0, lost = 0, interrupted = 0, atOrigin = 0, inTrash = 0;
  int attempts = 0;
  double expectedUs = static_cast<double>(fullUs);
  while (interrupted < static_cast<size_t>(kRuns) && attempts < 3 * kRuns) {
    auto paths = makeFiles(attempts++);
    std::uniform_real_distribution<double> moment(0.02 * expectedUs, 0.95 * expectedUs);
    child = fork();
    if (child == 0) RecycleAll(paths);
    std::this_thread::sleep_for(std::chrono::microseconds(static_cast<long long>(moment(random))));
    kill(child, SIGKILL);
    waitpid(child, &status, 0);

    size_t orphans = 0;
    auto restorable = ReadTrash(trashDir, orphans);
    size_t here = 0, trashed = 0;
    for (const auto& path : paths) {
      const bool origin = Exists(path);
      auto found = restorable.find(path);
      const bool trash = found != restorable.end();
      if (trash) {
        EXPECT_EQ(ReadFile(trashDir + "/files/" + found->second), path) << "the trash holds another file";
      }
      EXPECT_FALSE(origin && trash) << path;
      if (!origin && !trash) {
        ++lost;
        ADD_FAILURE() << "lost " << path;
      }
      here += origin;
      trashed += trash;
    }
    totalFiles += paths.size();
    atOrigin += here;
    inTrash += trashed;
    if (here > 0 && trashed > 0) ++interrupted;
    if (here == 0) expectedUs *= 0.8;     // it was over before the kill
    if (trashed == 0) expectedUs *= 1.25;  // it had not begun
    EXPECT_LE(orphans, static_cast<size_t>(attempts));  // at most one per kill
  }

  // Info files a kill left behind without their entry go on the next run.
  trash::TrashEnvironment env{dataHome, geteuid()};
  env.orphanGraceSeconds = 0;
  trash::TrashEngine next(env);
  WriteFile(tmp / "one more");
  ASSERT_TRUE(next.Trash(tmp / "one more").ok());
  size_t orphansLeft = 0;
  ReadTrash(trashDir, orphansLeft);
  EXPECT_EQ(orphansLeft, 0u);

  printf("kill test: runs %d, killed while files were moving %zu, files %zu, at origin %zu, in the trash %zu, "
         "orphan info files cleaned %zu, files lost %zu\n",
         attempts, interrupted, totalFiles, atOrigin, inTrash, next.OrphansRemoved(), lost);
  EXPECT_EQ(lost, 0u);
  EXPECT_GE(interrupted, static_cast<size_t>(kRuns)) << "too few kills landed while files were moving";
}

}  // namespace
