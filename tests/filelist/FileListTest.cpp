#include <gtest/gtest.h>

#include "filelist/FileList.h"
#include "platform/winapi/DropHandle.h"

namespace {

std::vector<std::pair<std::string, bool>> Entries(const TListItems& items) {
  std::vector<std::pair<std::string, bool>> out;
  for (int i = 0; i < items.Count(); ++i) out.emplace_back(items[i]->Caption, items[i]->Selected);
  return out;
}

using E = std::vector<std::pair<std::string, bool>>;

TEST(CommandLineIntake, EveryArgumentInOrderAllSelected) {
  const char* argv[] = {"delfiles", "/tmp/a b", "-x", "--help", "", "/tmp/a b", "rel/\xff"};
  SetProcessArguments(7, argv);
  TListItems items;
  TakeCommandLine(&items);
  EXPECT_EQ(Entries(items), (E{{"/tmp/a b", true}, {"-x", true}, {"--help", true}, {"/tmp/a b", true}, {"rel/\xff", true}}));
}

TEST(CommandLineIntake, NoArgumentsNoEntries) {
  const char* argv[] = {"delfiles"};
  SetProcessArguments(1, argv);
  TListItems items;
  TakeCommandLine(&items);
  EXPECT_EQ(items.Count(), 0);
}

TEST(CommandLineIntake, WindowsLineWithQuotedSpacesGivesOneEntry) {
  // The Windows build hands the split line over the same way.
  auto args = SplitCommandLineA("delfiles.exe \"C:\\a b\\c.txt\" C:\\d.txt \"C:\\a b\\c.txt\"");
  std::vector<const char*> argv;
  for (auto& a : args) argv.push_back(a.c_str());
  SetProcessArguments(static_cast<int>(argv.size()), argv.data());
  TListItems items;
  TakeCommandLine(&items);
  EXPECT_EQ(Entries(items), (E{{"C:\\a b\\c.txt", true}, {"C:\\d.txt", true}, {"C:\\a b\\c.txt", true}}));
}

TEST(DropIntake, AppendsWholePathsSelectedAndKeepsEarlierSelections) {
  TListItems items;
  AddEntry(&items, "/first");
  AddEntry(&items, "/second");
  items[0]->Selected = false;
  const std::string longPath = "/" + std::string(1500, 'd') + "/\xe9" + std::string(3000, 'e');
  TakeDrop(&items, CreateDropHandle({longPath, "/second", "/\xff\xfe name"}));
  EXPECT_EQ(Entries(items), (E{{"/first", false}, {"/second", true}, {longPath, true}, {"/second", true}, {"/\xff\xfe name", true}}));
}

TEST(DropIntake, EmptyDropAddsNothing) {
  TListItems items;
  TakeDrop(&items, CreateDropHandle({}));  // released inside; ASan finds a leak otherwise
  EXPECT_EQ(items.Count(), 0);
}

}  // namespace
