#include <gtest/gtest.h>

#include "platform/winapi/DropHandle.h"
#include "platform/winapi/ShellApi.h"

namespace {

TEST(DragQueryFile, CountLengthAndBoundedCopy) {
  const std::string longPath = "/" + std::string(1200, 'p');
  HDROP drop = CreateDropHandle({"/a", longPath, ""});
  EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 3u);
  EXPECT_EQ(DragQueryFileA(drop, 1, nullptr, 0), 1201u);
  EXPECT_EQ(DragQueryFileA(drop, 2, nullptr, 0), 0u);
  EXPECT_EQ(DragQueryFileA(drop, 3, nullptr, 0), 0u);

  char buf[8];
  memset(buf, '#', sizeof buf);
  EXPECT_EQ(DragQueryFileA(drop, 0, buf, sizeof buf), 2u);
  EXPECT_STREQ(buf, "/a");
  // A small buffer gets capacity - 1 bytes and a NUL, and not one byte more.
  char small[6];
  memset(small, '#', sizeof small);
  EXPECT_EQ(DragQueryFileA(drop, 1, small, 5), 4u);
  EXPECT_STREQ(small, "/ppp");
  EXPECT_EQ(small[5], '#');
  EXPECT_EQ(DragQueryFileA(drop, 1, small, 0), 0u);
  EXPECT_EQ(small[0], '/');
  EXPECT_EQ(DragQueryFileA(drop, 9, buf, sizeof buf), 0u);
  DragFinish(drop);
}

TEST(DragAcceptFiles, AnyNonZeroRegisters) {
  HWND window = reinterpret_cast<HWND>(0x1234);
  EXPECT_FALSE(AcceptsDroppedFiles(window));
  DragAcceptFiles(window, static_cast<BOOL>(0xFFFFFFFF));
  EXPECT_TRUE(AcceptsDroppedFiles(window));
  DragAcceptFiles(window, FALSE);
  EXPECT_FALSE(AcceptsDroppedFiles(window));
}

}  // namespace
