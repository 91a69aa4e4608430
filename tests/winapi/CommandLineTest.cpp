#include <gtest/gtest.h>

#include "platform/winapi/CommandLine.h"

namespace {

using Args = std::vector<std::string>;

bool FakeLeadByte(unsigned char c) { return c == 0x81; }

TEST(SplitCommandLine, FollowsTheWindowsRules) {
  struct Case {
    const char* label;
    std::string line;
    Args expected;
  } cases[] = {
      {"plain", "prog a b", {"prog", "a", "b"}},
      {"runs of control characters and spaces", "prog\t a\x01\x1f  b \n", {"prog", "a", "b"}},
      {"bytes 33 to 255 belong to arguments", "prog \x7f\xff!~", {"prog", "\x7f\xff!~"}},
      {"quoted spaces", "prog \"C:\\My Files\\a b.txt\"", {"prog", "C:\\My Files\\a b.txt"}},
      {"quotes join surrounding text", "prog pre\"mid dle\"post", {"prog", "premid dlepost"}},
      {"unterminated quote runs to the end", "prog \"open ended", {"prog", "open ended"}},
      {"empty pair where an argument begins is skipped", "prog \"\" a \"\"\"\" b", {"prog", "a", "b"}},
      {"empty pair inside an argument", "prog ab\"\"cd", {"prog", "abcd"}},
      {"empty pair then text", "prog \"\"abc", {"prog", "abc"}},
      {"a quoted space is an argument", "prog \" \"", {"prog", " "}},
      {"stops at the first empty argument", "prog a \"", {"prog", "a"}},
      {"empty line", "", {}},
      {"only spaces", "   ", {}},
      {"option-like text is an argument", "prog --help -x /?", {"prog", "--help", "-x", "/?"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLineA(c.line.c_str()), c.expected) << c.label;
}

TEST(SplitCommandLine, StepsOverDoubleByteCharactersWhole) {
  // With 0x81 as a lead byte, the quote and the space after it are trail
  // bytes of one character, not a quote or a separator.
  EXPECT_EQ(SplitCommandLineA("p a\x81\"b \x81 c", FakeLeadByte), (Args{"p", "a\x81\"b", "\x81 c"}));
  EXPECT_EQ(SplitCommandLineA("p \"q\x81\"r\" s", FakeLeadByte), (Args{"p", "q\x81\"r", "s"}));
  // A lead byte at the end of the line is taken alone.
  EXPECT_EQ(SplitCommandLineA("p a\x81", FakeLeadByte), (Args{"p", "a\x81"}));
  // Without a code page that has lead bytes, the same bytes split.
  EXPECT_EQ(SplitCommandLineA("p a\x81\"b \x81 c"), (Args{"p", "a\x81" "b \x81 c"}));
}

TEST(ProcessArguments, EveryNonEmptyArgumentIsAPathByteForByte) {
  const char* argv[] = {"/usr/bin/delfiles", "a b", "", "--help", "-style", "\xff\xfe", "a b", nullptr};
  SetProcessArguments(7, argv);
  ASSERT_EQ(ParamCount(), 5);
  EXPECT_EQ(ParamStr(0), "/usr/bin/delfiles");
  EXPECT_EQ(ParamStr(1), "a b");
  EXPECT_EQ(ParamStr(2), "--help");
  EXPECT_EQ(ParamStr(3), "-style");
  EXPECT_EQ(ParamStr(4), "\xff\xfe");
  EXPECT_EQ(ParamStr(5), "a b");
  EXPECT_EQ(ParamStr(6), "");
  EXPECT_EQ(ParamStr(-1), "");
  SetProcessArguments(1, argv);
  EXPECT_EQ(ParamCount(), 0);
}

}  // namespace
