#include "ui/Unit1.h"

#include "deletion/Deletion.h"
#include "filelist/FileList.h"

std::string_view Unit1FormDescription();  // Unit1.dfm, built in

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* Owner) : TForm(Owner) {}

const TPublished& TForm1::Published() const {
  static const TPublished published{
      {
          PublishField("Label2", &TForm1::Label2),
          PublishField("Label3", &TForm1::Label3),
          PublishField("Button1", &TForm1::Button1),
          PublishField("Button2", &TForm1::Button2),
          PublishField("ListView1", &TForm1::ListView1),
          PublishField("CheckBox1", &TForm1::CheckBox1),
      },
      {
          PublishEvent("FormCreate", &TForm1::FormCreate),
          PublishEvent("Button1Click", &TForm1::Button1Click),
          PublishEvent("Button2Click", &TForm1::Button2Click),
          PublishEvent("ListView1ColumnClick", &TForm1::ListView1ColumnClick),
          PublishEvent("ListView1Compare", &TForm1::ListView1Compare),
      },
      {
          PublishMessage(WM_DROPFILES, &TForm1::WMDropFiles),
      },
  };
  return published;
}

std::string_view TForm1::FormResource() const { return Unit1FormDescription(); }

void TForm1::FormCreate(TObject* Sender) {
  (void)Sender;
  DragAcceptFiles(Handle(), static_cast<BOOL>(-1));
  TakeCommandLine(ListView1->Items());
}

void TForm1::WMDropFiles(TMessage& Message) { TakeDrop(ListView1->Items(), reinterpret_cast<HDROP>(Message.WParam)); }

void TForm1::Button1Click(TObject* Sender) {
  (void)Sender;
  RunDeletion(ListView1->Items(), CheckBox1->Checked(), Application->Handle(), Handle(), [this] { Close(); });
}

void TForm1::Button2Click(TObject* Sender) {
  (void)Sender;
  Close();
}

void TForm1::ListView1ColumnClick(TObject* Sender, TListColumn* Column) {
  (void)Sender;
  Column->Tag = -Column->Tag;
  ListView1->CustomSort(nullptr, Column->Tag);
}

void TForm1::ListView1Compare(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare) {
  (void)Sender;
  Compare = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, Item1->Caption.c_str(),
                           static_cast<int>(Item1->Caption.size()), Item2->Caption.c_str(),
                           static_cast<int>(Item2->Caption.size()));
  Compare = (Compare - 2) * Data;
}
