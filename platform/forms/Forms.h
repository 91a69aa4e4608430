// The window framework the program is written against: application, forms
// built from their form descriptions, and the controls on them. Backed by
// Qt Widgets, which never shows through these headers.
#pragma once

#include <any>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/ListItems.h"
#include "platform/forms/Object.h"
#include "platform/winapi/WinTypes.h"

struct DfmProperty;
struct TControlImpl;
class TForm;

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

class TListColumn;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVCompareEvent = std::function<void(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare)>;
using PFNLVCOMPARE = int (*)(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

// What a form class lets its form description name: its component fields,
// its event handlers, and its message handlers. This table stands in for
// run-time type information; the reader binds by these names only.
struct TPublished {
  struct Field {
    std::string name;
    std::function<bool(TForm& form, TObject* component)> bind;  // false: wrong class
  };
  struct Event {
    std::string name;
    std::function<std::any(TForm& form)> handler;  // a std::function of the handler's type
  };
  struct Message {
    UINT msg;
    std::function<void(TForm& form, TMessage& message)> handle;
  };
  std::vector<Field> fields;
  std::vector<Event> events;
  std::vector<Message> messages;
};

template <class F, class C>
TPublished::Field PublishField(const char* name, C* F::*member) {
  return {name, [member](TForm& form, TObject* component) {
            C* typed = dynamic_cast<C*>(component);
            if (!typed) return false;
            static_cast<F&>(form).*member = typed;
            return true;
          }};
}

template <class F, class... A>
TPublished::Event PublishEvent(const char* name, void (F::*method)(A...)) {
  return {name, [method](TForm& form) -> std::any {
            F* self = static_cast<F*>(&form);
            return std::function<void(A...)>([self, method](A... args) { (self->*method)(std::forward<A>(args)...); });
          }};
}

template <class F>
TPublished::Message PublishMessage(UINT msg, void (F::*method)(TMessage&)) {
  return {msg, [method](TForm& form, TMessage& message) { (static_cast<F&>(form).*method)(message); }};
}

// Looks up handlers by name for the reader.
class TEventSource {
 public:
  TEventSource(TForm& form, const TPublished& published) : form_(form), published_(published) {}
  // The handler named `name`, or an empty std::any with `error` set.
  std::any Find(const std::string& name, std::string& error) const;

 private:
  TForm& form_;
  const TPublished& published_;
};

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  std::string Name;
  int Tag = 0;
  TComponent* Owner() const { return owner_; }

  // Applies one property of a form description. Unknown names and values
  // of the wrong kind fail with `error` set.
  virtual bool SetProperty(const DfmProperty& prop, const TEventSource& events, std::string& error);

 protected:
  // Deletes the owned components now, newest first.
  void DestroyComponents();

 private:
  TComponent* owner_;
  std::vector<TComponent*> owned_;  // deleted with their owner, newest first
};

class TControl : public TComponent {
 public:
  TControl(TComponent* owner, std::unique_ptr<TControlImpl> impl);
  ~TControl() override;

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetBounds(int left, int top, int width, int height);
  std::string Caption() const;  // UTF-8
  virtual void SetCaption(const std::string& caption);
  int TabOrder() const { return tabOrder_; }
  bool Focused() const;
  void SetFocus();

  bool SetProperty(const DfmProperty& prop, const TEventSource& events, std::string& error) override;

  // For the platform's own Qt code: the widget behind the control.
  TControlImpl& Impl() const { return *impl_; }
  // Called once the whole form has been read.
  virtual void Loaded() {}

 protected:
  std::unique_ptr<TControlImpl> impl_;
  int tabOrder_ = -1;
};

class TLabel : public TControl {
 public:
  explicit TLabel(TComponent* owner);
  bool AutoSize() const { return autoSize_; }
  void SetCaption(const std::string& caption) override;
  bool SetProperty(const DfmProperty& prop, const TEventSource& events, std::string& error) override;
  void Loaded() override;

 private:
  void FitToText();
  bool autoSize_ = true;
};

class TButton : public TControl {
 public:
  explicit TButton(TComponent* owner);
  TNotifyEvent OnClick;
  void Click();
  bool SetProperty(const DfmProperty& prop, const TEventSource& events, std::string& error) override;
};

class TCheckBox : public TControl {
 public:
  explicit TCheckBox(TComponent* owner);
  TNotifyEvent OnClick;
  bool Checked() const;
  void SetChecked(bool checked);
  bool SetProperty(const DfmProperty& prop, const TEventSource& events, std::string& error) override;
};

class TListColumn : public TObject {
 public:
  std::string Caption;
  int Tag = 0;
  int Width = 50;
  int Index() const { return index_; }

 private:
  friend class TListView;
  int index_ = 0;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

class TListView : public TControl {
 public:
  explicit TListView(TComponent* owner);
  ~TListView() override;

  TListItems* Items() const { return items_.get(); }
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  TListColumn* Column(int index) const { return columns_.at(static_cast<size_t>(index)).get(); }

  TLVColumnClickEvent OnColumnClick;
  TLVCompareEvent OnCompare;

  // Sorts the items. With a null `SortProc` each pair goes to OnCompare
  // with `lParam` as its Data. Returns false when there is nothing to
  // compare with.
  bool CustomSort(PFNLVCOMPARE SortProc, LPARAM lParam);

  // A click on the header of column `index`, as the user makes it.
  void ClickColumn(int index);

  TViewStyle ViewStyle() const { return viewStyle_; }
  bool MultiSelect() const { return multiSelect_; }
  bool ReadOnly() const { return readOnly_; }
  bool RowSelect() const { return rowSelect_; }
  bool HideSelection() const { return hideSelection_; }

  bool SetProperty(const DfmProperty& prop, const TEventSource& events, std::string& error) override;
  void Loaded() override;

 private:
  std::unique_ptr<TListItems> items_;
  std::vector<std::unique_ptr<TListColumn>> columns_;
  TViewStyle viewStyle_ = vsIcon;
  bool multiSelect_ = false;
  bool readOnly_ = false;
  bool rowSelect_ = false;
  bool hideSelection_ = true;
};

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };

struct TFontSpec {
  std::string Name = "Tahoma";  // UTF-8
  int Height = -11;             // negative: character height in pixels
  int Charset = 1;              // DEFAULT_CHARSET
};

class TForm : public TControl {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  HWND Handle() const;
  TFormStyle FormStyle() const { return formStyle_; }
  const TFontSpec& Font() const { return font_; }
  int ClientWidth() const;
  int ClientHeight() const;
  TNotifyEvent OnCreate;

  void Show();
  bool Visible() const;
  // Closes the window; closing the application's main form ends the program.
  void Close();

  // Hands a message to the handler the form class published for it.
  // Returns false when there is none.
  bool Dispatch(TMessage& message);

  // What the form class provides: its name, its published table, and its
  // form description's text.
  virtual const char* ClassName() const { return "TForm"; }
  virtual const TPublished& Published() const;
  virtual std::string_view FormResource() const { return {}; }

  // Reads the form description into this form. Returns false with `error`.
  bool ReadForm(std::string& error);
  // Runs OnCreate; done once, after reading.
  void DoCreate();

  bool SetProperty(const DfmProperty& prop, const TEventSource& events, std::string& error) override;
  void SetCaption(const std::string& caption) override;
  void Loaded() override;

 private:
  std::unique_ptr<HWND__> handle_;
  std::vector<TControl*> ownedControls_;  // in the order of the description
  TControl* firstFocus_ = nullptr;
  TFormStyle formStyle_ = fsNormal;
  TFontSpec font_;
  int left_ = 0, top_ = 0, outerWidth_ = 0, outerHeight_ = 0;
};

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  // Starts the toolkit. It never sees the command line: every argument
  // is the program's to read.
  void Initialize();

  // Creates a form of class T, stores it in *reference, reads its form
  // description and runs its OnCreate. The first form created becomes the
  // main form. A form description that cannot be read ends the program
  // with a message on standard error.
  template <class T>
  void CreateForm(T** reference) {
    T* form = new T(this);
    *reference = form;
    AdoptForm(form);
  }

  // Shows the main form and runs the message loop until it closes.
  void Run();
  void Terminate();

  HWND Handle() const;
  TForm* MainForm() const { return mainForm_; }

 private:
  void AdoptForm(TForm* form);
  std::unique_ptr<HWND__> handle_;
  TForm* mainForm_ = nullptr;
};

extern TApplication* Application;

// The application icon, in XPM form, when the program carries one (its
// resources define this); the toolkit shows it on every window.
const char* const* MainIcon() __attribute__((weak));
