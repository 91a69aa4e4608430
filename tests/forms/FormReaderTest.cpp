// The reader builds a form from its description and binds it by name.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTreeView>

#include "platform/forms/QtBridge.h"
#include "tests/support/QtTestSupport.h"

using namespace testsupport;

namespace {

class TTestForm : public TForm {
 public:
  explicit TTestForm(TComponent* owner, std::string description = "") : TForm(owner), text(std::move(description)) {}
  TButton* Button1 = nullptr;
  TLabel* Label1 = nullptr;
  TListView* ListView1 = nullptr;
  int clicks = 0, created = 0;
  std::vector<int> columnClicks;
  void FormCreate(TObject*) { ++created; }
  void Button1Click(TObject*) { ++clicks; }
  void ListView1ColumnClick(TObject*, TListColumn* column) { columnClicks.push_back(column->Tag); }
  const char* ClassName() const override { return "TTestForm"; }
  const TPublished& Published() const override {
    static const TPublished table{
        {PublishField("Button1", &TTestForm::Button1), PublishField("Label1", &TTestForm::Label1),
         PublishField("ListView1", &TTestForm::ListView1)},
        {PublishEvent("FormCreate", &TTestForm::FormCreate), PublishEvent("Button1Click", &TTestForm::Button1Click),
         PublishEvent("ListView1ColumnClick", &TTestForm::ListView1ColumnClick)},
        {}};
    return table;
  }
  std::string_view FormResource() const override { return text; }
  std::string text;
};

const std::string kGood =
    "object TestForm: TTestForm\n"
    "  Width = 208\n"
    "  Height = 127\n"
    "  Caption = 'Test'\n"
    "  OnCreate = FormCreate\n"
    "  object Button1: TButton\n"
    "    Left = 10\n"
    "    Top = 20\n"
    "    Width = 75\n"
    "    Height = 25\n"
    "    Caption = 'Go'\n"
    "    TabOrder = 1\n"
    "    OnClick = Button1Click\n"
    "  end\n"
    "  object Label1: TLabel\n"
    "    Left = 4\n"
    "    Top = 4\n"
    "    Width = 3\n"
    "    Height = 3\n"
    "    Caption = 'A label much wider than three pixels'\n"
    "  end\n"
    "  object ListView1: TListView\n"
    "    Columns = <\n"
    "      item\n"
    "        Caption = 'Name'\n"
    "        Tag = 7\n"
    "        Width = 90\n"
    "      end>\n"
    "    TabOrder = 0\n"
    "    ViewStyle = vsReport\n"
    "    OnColumnClick = ListView1ColumnClick\n"
    "  end\n"
    "end\n";

TEST(FormReader, BuildsAndBindsByName) {
  TestApplication app;
  TTestForm form(&app.app, kGood);
  std::string error;
  ASSERT_TRUE(form.ReadForm(error)) << error;
  form.DoCreate();
  EXPECT_EQ(form.created, 1);
  EXPECT_EQ(form.Name, "TestForm");
  EXPECT_EQ(form.ClientWidth(), 200);
  EXPECT_EQ(form.ClientHeight(), 100);
  ASSERT_NE(form.Button1, nullptr);
  EXPECT_EQ(form.Button1->Caption(), "Go");
  EXPECT_EQ(form.Button1->Left(), 10);
  EXPECT_EQ(form.Button1->Width(), 75);
  form.Button1->Click();
  EXPECT_EQ(form.clicks, 1);
  // A label takes the size of its text.
  EXPECT_GT(form.Label1->Width(), 100);
  EXPECT_GE(form.Label1->Height(), 10);
  ASSERT_EQ(form.ListView1->ColumnCount(), 1);
  form.ListView1->ClickColumn(0);
  EXPECT_EQ(form.columnClicks, std::vector<int>{7});
  auto* view = static_cast<QTreeView*>(WidgetOf(form.ListView1));
  EXPECT_EQ(view->header()->sectionSize(0), 90);
}

TEST(FormReader, RefusesWhatItCannotBind) {
  auto replace = [](std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
  };
  struct Case {
    const char* label;
    std::string text;
    const char* error;
  } cases[] = {
      {"syntax", replace(kGood, "  end\n  object Label1", "  object Label1"), "missing 'end'"},
      {"another class", replace(kGood, "TestForm: TTestForm", "Form1: TForm1"), "is for TForm1, not TTestForm"},
      {"unknown control class", replace(kGood, "Label1: TLabel", "Label1: TPanel"), "unknown control class TPanel"},
      {"no such field", replace(kGood, "Button1: TButton", "Button9: TButton"), "no published field Button9"},
      {"field of another class", replace(kGood, "Button1: TButton", "Button1: TLabel"), "field Button1 is not a TLabel"},
      {"no such handler", replace(kGood, "OnClick = Button1Click", "OnClick = Missing"), "no published handler named Missing"},
      {"handler of the wrong type", replace(kGood, "OnClick = Button1Click", "OnClick = ListView1ColumnClick"),
       "wrong parameters"},
      {"unknown property", replace(kGood, "Caption = 'Go'", "Colour = 'Go'"), "Colour: unknown property"},
      {"value of the wrong kind", replace(kGood, "Left = 10", "Left = 'ten'"), "expected a number"},
      {"unsupported style", replace(kGood, "ViewStyle = vsReport", "ViewStyle = vsIcon"), "only vsReport"},
      {"controls inside controls",
       replace(kGood, "    Caption = 'Go'\n", "    object Inner: TLabel\n    end\n"), "cannot hold controls"},
  };
  TestApplication app;
  for (const auto& c : cases) {
    TTestForm form(&app.app, c.text);
    std::string error;
    EXPECT_FALSE(form.ReadForm(error)) << c.label;
    EXPECT_NE(error.find(c.error), std::string::npos) << c.label << ": " << error;
  }
}

TEST(FormReaderDeathTest, BrokenDescriptionStopsStartUp) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        TestApplication app;
        TTestForm* form = nullptr;
        struct TBroken : TTestForm {
          explicit TBroken(TComponent* o) : TTestForm(o, "object TestForm: TTestForm\n  Bogus = 1\nend\n") {}
        };
        TBroken* broken = nullptr;
        Application->CreateForm(&broken);
        (void)form;
      },
      ::testing::ExitedWithCode(1), "cannot build TTestForm from its form description: line 2: Bogus: unknown property");
}

}  // namespace
