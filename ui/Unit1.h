// Unit1: the main window. It lists the files handed to the program and
// deletes the selected ones on OK.
#pragma once

#include "platform/forms/Forms.h"
#include "platform/winapi/Windows.h"

class TForm1 : public TForm {
 public:  // bound by name from the form description (see Published)
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  TListView* ListView1 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  void FormCreate(TObject* Sender);
  void Button1Click(TObject* Sender);
  void Button2Click(TObject* Sender);
  void ListView1ColumnClick(TObject* Sender, TListColumn* Column);
  void ListView1Compare(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare);
  void WMDropFiles(TMessage& Message);  // WM_DROPFILES

 public:
  explicit TForm1(TComponent* Owner);
  const char* ClassName() const override { return "TForm1"; }
  const TPublished& Published() const override;
  std::string_view FormResource() const override;
};

extern TForm1* Form1;
