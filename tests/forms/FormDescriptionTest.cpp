#include <gtest/gtest.h>

#include "platform/forms/FormDescription.h"
#include "platform/forms/UriList.h"

namespace {

TEST(FormDescription, ReadsEveryKindOfValue) {
  const std::string text =
      "object Form1: TForm1\n"
      "  Left = -5\n"
      "  Caption = #12501'ab''c'#55357#56832 +\n"
      "    'more'\n"
      "  Font.Style = [fsBold, fsItalic]\n"
      "  Empty = []\n"
      "  FormStyle = fsStayOnTop\n"
      "  object ListView1: TListView\n"
      "    Columns = <\n"
      "      item\n"
      "        Caption = 'one'\n"
      "        Tag = 1\n"
      "      end\n"
      "      item\n"
      "      end>\n"
      "  end\n"
      "end\n";
  DfmObject root;
  std::string error;
  ASSERT_TRUE(ParseFormDescription(text, root, error)) << error;
  EXPECT_EQ(root.name, "Form1");
  EXPECT_EQ(root.className, "TForm1");
  ASSERT_EQ(root.properties.size(), 5u);
  EXPECT_EQ(root.properties[0].value.integer, -5);
  EXPECT_EQ(root.properties[1].value.text, "\xe3\x83\x95" "ab'c" "\xf0\x9f\x98\x80" "more");  // フ, ab'c, U+1F600
  EXPECT_EQ(root.properties[2].name, "Font.Style");
  EXPECT_EQ(root.properties[2].value.set, (std::vector<std::string>{"fsBold", "fsItalic"}));
  EXPECT_TRUE(root.properties[3].value.set.empty());
  EXPECT_EQ(root.properties[4].value.kind, DfmValue::Kind::Identifier);
  ASSERT_EQ(root.children.size(), 1u);
  const auto& columns = root.children[0].properties.at(0).value;
  ASSERT_EQ(columns.kind, DfmValue::Kind::Collection);
  ASSERT_EQ(columns.items.size(), 2u);
  EXPECT_EQ(columns.items[0][1].value.integer, 1);
  EXPECT_TRUE(columns.items[1].empty());
}

TEST(FormDescription, BrokenTextFailsWithTheLine) {
  struct Case {
    const char* label;
    std::string text;
    const char* error;
  } cases[] = {
      {"empty", "", "line 1: expected 'object'"},
      {"missing end", "object F: TF\n  Left = 1\n", "missing 'end'"},
      {"missing colon", "object F TF\nend", "expected ':'"},
      {"missing value", "object F: TF\n  Left =\nend", "line 3: missing value"},
      {"unterminated string", "object F: TF\n  Caption = 'abc\nend", "line 2: unterminated string"},
      {"bad character code", "object F: TF\n  Caption = #99999\nend", "out of range"},
      {"dangling plus", "object F: TF\n  Caption = 'a' +\n  Left = 1\nend", "after '+'"},
      {"unclosed set", "object F: TF\n  S = [a, b\nend", "expected ']'"},
      {"bad collection", "object F: TF\n  C = < x >\nend", "expected 'item'"},
      {"text after end", "object F: TF\nend\nobject", "after the final"},
      {"huge number", "object F: TF\n  Left = 99999999999\nend", "out of range"},
      {"deep nesting", std::string(), "nested too deep"},
  };
  for (int i = 0; i < 100; ++i) cases[11].text += "object A: TA\n";
  for (const auto& c : cases) {
    DfmObject root;
    std::string error;
    EXPECT_FALSE(ParseFormDescription(c.text, root, error)) << c.label;
    EXPECT_NE(error.find(c.error), std::string::npos) << c.label << ": " << error;
  }
}

TEST(UriList, DecodesLocalFilesToBytes) {
  const std::string longName(1200, 'L');
  const std::string data =
      "# a comment\r\n"
      "file:///tmp/a%20b.txt\r\n"
      "file:///tmp/caf%E9%ff\r\n"
      "file://localhost/tmp/x\r\n"
      "FILE://myhost/tmp/y\r\n"
      "file://otherhost/tmp/z\r\n"
      "http://example.com/file\r\n"
      "file:///tmp/%E6%97%A5%e6%9c%ac\r\n"
      "file:///tmp/bad%zz\r\n"
      "file:///tmp/nul%00x\r\n"
      "file:///tmp/" + longName + "\r\n"
      "\r\n"
      "file:///tmp/no-final-newline";
  EXPECT_EQ(DecodeUriList(data, "myhost"), (std::vector<std::string>{
                                               "/tmp/a b.txt",
                                               "/tmp/caf\xe9\xff",
                                               "/tmp/x",
                                               "/tmp/y",
                                               "/tmp/\xe6\x97\xa5\xe6\x9c\xac",
                                               "/tmp/" + longName,
                                               "/tmp/no-final-newline",
                                           }));
  EXPECT_TRUE(DecodeUriList("").empty());
  // Raw control bytes make a line malformed; a NUL must never cut a path.
  EXPECT_TRUE(DecodeUriList(std::string("file:///tmp/x\0/y\n", 17)).empty());
  EXPECT_TRUE(DecodeUriList("file:///tmp/a\tb\n").empty());
  EXPECT_TRUE(DecodeUriList("file:").empty());
}

}  // namespace
