#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "deletion/Deletion.h"
#include "filelist/FileList.h"
#include "tests/support/ScriptedShell.h"
#include "tests/support/TempDir.h"

using namespace testsupport;

namespace {

const std::string kHeader = "\xe4\xbb\xa5\xe4\xb8\x8b\xe3\x81\xae\xe3\x83\x95\xe3\x82\xa1\xe3\x82\xa4\xe3\x83\xab"
                            "\xe3\x82\x92\xe5\x89\x8a\xe9\x99\xa4\xe3\x81\xa7\xe3\x81\x8d\xe3\x81\xbe\xe3\x81\x9b"
                            "\xe3\x82\x93\xe3\x81\xa7\xe3\x81\x97\xe3\x81\x9f";  // 以下のファイルを削除できませんでした
const std::string kCaption = "\xe5\x89\x8a\xe9\x99\xa4\xe5\xa4\xb1\xe6\x95\x97";  // 削除失敗

TEST(RecycleRequestText, SelectedPathsEachWithNulThenOneMore) {
  TListItems items;
  EXPECT_EQ(RecycleRequestText(&items), "");
  AddEntry(&items, "/a b");
  AddEntry(&items, "/skip");
  AddEntry(&items, "/\xff");
  AddEntry(&items, "/a b");
  items[1]->Selected = false;
  EXPECT_EQ(RecycleRequestText(&items), std::string("/a b\0/\xff\0/a b\0\0", 14));
  for (int i = 0; i < items.Count(); ++i) items[i]->Selected = false;
  EXPECT_EQ(RecycleRequestText(&items), "");
}

TEST(FailureReportText, HeaderTwoCrsThenOnePathPerCr) {
  EXPECT_EQ(FailureReportText("/x\r/\xff y\r"), kHeader + "\r\r/x\r/\xff y\r");
}

// A folder of real files, a list over them, and the shell's and message
// box's stand-ins: one run of the OK action.
struct Scene {
  Scene() {
    WriteFile(tmp / "a", "a");
    WriteFile(tmp / "b", "b");
    WriteFile(tmp / "readonly", "r");
    chmod((tmp / "readonly").c_str(), 0444);
    MakeDir(tmp / "folder");
    WriteFile(tmp / "target", "t");
    symlink("target", (tmp / "link").c_str());
  }
  void Add(const std::string& name, bool selected = true) {
    AddEntry(&items, tmp / name);
    items[items.Count() - 1]->Selected = selected;
  }
  void Run(bool permanent) { RunDeletion(&items, permanent, kApplication, kOwner, [this] { ++closed; }); }

  static inline HWND kApplication = reinterpret_cast<HWND>(0x10);
  static inline HWND kOwner = reinterpret_cast<HWND>(0x20);
  TempDir tmp;
  ScopedEnv data{"XDG_DATA_HOME", tmp / "trash-home"};
  ScriptedPrompts prompts;
  ScopedExecutor executor{prompts};
  RecordingMessageBox messages;
  TListItems items;
  int closed = 0;
};

TEST(DeletionRun, EdgeCases) {
  struct Case {
    const char* label;
    bool permanent;
    bool confirm;
    std::vector<std::pair<const char*, bool>> entries;  // name, selected
    std::vector<std::string> gone;
    int confirmations;
    std::vector<const char*> reported;  // empty: no message box
  } cases[] = {
      {"empty list, trash", false, true, {}, {}, 0, {}},
      {"empty list, permanent", true, true, {}, {}, 0, {}},
      {"nothing selected, trash", false, true, {{"a", false}, {"b", false}}, {}, 0, {}},
      {"nothing selected, permanent", true, true, {{"a", false}, {"b", false}}, {}, 0, {}},
      {"declined confirmation", false, false, {{"a", true}, {"folder", true}}, {}, 1, {}},
      {"trash, folder with the others; unselected stays", false, true,
       {{"a", true}, {"b", false}, {"folder", true}}, {"a", "folder"}, 1, {}},
      {"permanent, all succeed", true, true, {{"a", true}, {"b", true}}, {"a", "b"}, 0, {}},
      {"permanent, folder listed", true, true, {{"folder", true}, {"a", true}}, {"a"}, 0, {"folder"}},
      {"permanent, duplicate listed once", true, true, {{"a", true}, {"a", true}}, {"a"}, 0, {"a"}},
      {"permanent, read-only refused", true, true, {{"readonly", true}, {"b", false}}, {}, 0, {"readonly"}},
      {"permanent, symlink itself", true, true, {{"link", true}}, {"link"}, 0, {}},
      {"permanent, failures in list order", true, true,
       {{"missing", true}, {"a", true}, {"folder", true}, {"b", false}}, {"a"}, 0, {"missing", "folder"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Scene scene;
    scene.prompts.confirm = c.confirm;
    for (const auto& [name, selected] : c.entries) scene.Add(name, selected);
    scene.Run(c.permanent);

    EXPECT_EQ(scene.closed, 1);
    EXPECT_EQ(scene.prompts.confirmations, c.confirmations);
    for (const std::string name : {"a", "b", "readonly", "folder", "link", "target"}) {
      const bool expectGone = std::count(c.gone.begin(), c.gone.end(), name) > 0;
      EXPECT_EQ(Exists(scene.tmp / name), !expectGone) << name;
    }
    EXPECT_EQ(ReadFile(scene.tmp / "target"), "t");
    struct stat st;
    ASSERT_EQ(stat((scene.tmp / "readonly").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    if (c.reported.empty()) {
      EXPECT_TRUE(scene.messages.shown.empty());
      continue;
    }
    ASSERT_EQ(scene.messages.shown.size(), 1u);
    const auto& m = scene.messages.shown[0];
    std::string expected = kHeader + "\r\r";
    for (const char* n : c.reported) expected += scene.tmp / n + "\r";
    EXPECT_EQ(m.text, expected);
    EXPECT_EQ(m.caption, kCaption);
    EXPECT_EQ(m.type, 0x40u);
    EXPECT_EQ(m.owner, Scene::kOwner);
  }
}

TEST(DeletionRun, TrashedFilesCanBeRestored) {
  Scene scene;
  scene.Add("a");
  scene.Add("b");
  scene.Run(false);
  const auto names = ListDir(scene.tmp / "trash-home/Trash/files");
  ASSERT_EQ(names, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(ReadFile(scene.tmp / "trash-home/Trash/files/a"), "a");
  EXPECT_NE(ReadFile(scene.tmp / "trash-home/Trash/info/a.trashinfo").find("Path=" + scene.tmp / "a" + "\n"),
            std::string::npos);
}

}  // namespace
