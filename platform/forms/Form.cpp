#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFont>
#include <QMimeData>
#include <algorithm>
#include <map>

#include <unistd.h>

#include "platform/forms/FormDescription.h"
#include "platform/forms/Properties.h"
#include "platform/forms/QtBridge.h"
#include "platform/forms/UriList.h"
#include "platform/winapi/DropHandle.h"
#include "platform/winapi/ShellApi.h"
#include "platform/winapi/User.h"

namespace {

// The frame around the client area of a classic window: 4 pixels of border
// on each side and a 19-pixel caption, so that the specified outer size
// leaves the client area the controls were laid out in.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 27;

class FormWidget : public QWidget {
 public:
  explicit FormWidget(TForm& form) : form_(form) {}

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override {
    if (Accepts(event->mimeData())) event->acceptProposedAction();
  }
  void dragMoveEvent(QDragMoveEvent* event) override {
    if (Accepts(event->mimeData())) event->acceptProposedAction();
  }
  void dropEvent(QDropEvent* event) override {
    if (!Accepts(event->mimeData())) return;
    // The raw bytes of the list: paths never pass through a text encoding.
    const QByteArray raw = event->mimeData()->data(QStringLiteral("text/uri-list"));
    std::vector<std::string> paths =
        DecodeUriList(std::string(raw.constData(), static_cast<size_t>(raw.size())), LocalHostName());
    if (paths.empty()) return;
    event->acceptProposedAction();
    HDROP drop = CreateDropHandle(std::move(paths));
    TMessage message{WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0, 0};
    if (!form_.Dispatch(message)) DragFinish(drop);  // nobody took it
  }
  void closeEvent(QCloseEvent* event) override {
    event->accept();
    // Closing the main form ends the program, whichever way it closes.
    if (Application && Application->MainForm() == &form_) Application->Terminate();
  }

 private:
  bool Accepts(const QMimeData* mime) const {
    return mime && AcceptsDroppedFiles(form_.Handle()) && mime->hasFormat(QStringLiteral("text/uri-list"));
  }
  static std::string LocalHostName() {
    static const std::string name = [] {
      char buf[256] = {};
      return gethostname(buf, sizeof buf - 1) == 0 ? std::string(buf) : std::string();
    }();
    return name;
  }
  TForm& form_;
};

using Factory = TControl* (*)(TComponent* owner);
const std::map<std::string, Factory>& Factories() {
  static const std::map<std::string, Factory> factories{
      {"TLabel", [](TComponent* o) -> TControl* { return new TLabel(o); }},
      {"TButton", [](TComponent* o) -> TControl* { return new TButton(o); }},
      {"TCheckBox", [](TComponent* o) -> TControl* { return new TCheckBox(o); }},
      {"TListView", [](TComponent* o) -> TControl* { return new TListView(o); }},
  };
  return factories;
}

// Font names of the original desktop, and the installed fonts that take
// their place: the same kind of face, proportional or fixed.
QStringList FamiliesFor(const std::string& name) {
  static const std::map<std::string, QStringList> substitutes{
      {"ＭＳ Ｐゴシック", {"IPAPGothic", "Noto Sans CJK JP"}},
      {"ＭＳ ゴシック", {"IPAGothic", "Noto Sans Mono CJK JP"}},
      {"ＭＳ Ｐ明朝", {"IPAPMincho", "Noto Serif CJK JP"}},
      {"ＭＳ 明朝", {"IPAMincho", "Noto Serif CJK JP"}},
  };
  auto found = substitutes.find(name);
  if (found != substitutes.end()) return found->second;
  return {QString::fromStdString(name)};
}

// DragAcceptFiles switches drops on and off for the window it names.
void OnDragAccept(HWND handle, bool accept) {
  if (handle && handle->form) WidgetOf(handle->form)->setAcceptDrops(accept);
}

}  // namespace

QFont FontFor(const TFontSpec& spec) {
  QFont font;
  font.setFamilies(FamiliesFor(spec.Name));
  font.setStyleHint(QFont::SansSerif);
  // A negative height is the character height in pixels; a positive one
  // includes the internal leading, about a fifth of it.
  font.setPixelSize(spec.Height < 0 ? -spec.Height : std::max(1, spec.Height * 4 / 5));
  return font;
}

QWidget* WidgetForHandle(HWND handle) {
  if (!handle) return nullptr;
  if (handle->form) return WidgetOf(handle->form);
  return Application && Application->MainForm() ? WidgetOf(Application->MainForm()) : nullptr;
}

TForm::TForm(TComponent* owner) : TControl(owner, nullptr), handle_(std::make_unique<HWND__>()) {
  static const bool hooked = (SetDragAcceptHook(&OnDragAccept), true);
  (void)hooked;
  impl_ = std::make_unique<TControlImpl>(new FormWidget(*this));
  handle_->form = this;
  impl_->widget->setAttribute(Qt::WA_DeleteOnClose, false);
}

TForm::~TForm() {
  DragAcceptFiles(handle_.get(), FALSE);  // forget the handle before it goes
  DestroyComponents();                     // controls go while the form still stands
}

HWND TForm::Handle() const { return handle_.get(); }

int TForm::ClientWidth() const { return impl_->widget->width(); }
int TForm::ClientHeight() const { return impl_->widget->height(); }

void TForm::SetCaption(const std::string& caption) { impl_->widget->setWindowTitle(QString::fromStdString(caption)); }

void TForm::Show() {
  QWidget* w = impl_->widget;
  w->show();
  // The control first in tab order has the focus when the window opens.
  if (firstFocus_) WidgetOf(firstFocus_)->setFocus(Qt::ActiveWindowFocusReason);
  w->raise();
  w->activateWindow();
}

bool TForm::Visible() const { return impl_->widget->isVisible(); }

void TForm::Close() { impl_->widget->close(); }

bool TForm::Dispatch(TMessage& message) {
  for (const auto& handler : Published().messages) {
    if (handler.msg == message.Msg) {
      handler.handle(*this, message);
      return true;
    }
  }
  return false;
}

const TPublished& TForm::Published() const {
  static const TPublished nothing;
  return nothing;
}

bool TForm::SetProperty(const DfmProperty& p, const TEventSource& events, std::string& error) {
  if (p.name == "Left") return dfm::Int(p, left_, error);
  if (p.name == "Top") return dfm::Int(p, top_, error);
  if (p.name == "Width") return dfm::Int(p, outerWidth_, error);
  if (p.name == "Height") return dfm::Int(p, outerHeight_, error);
  if (p.name == "OnCreate") return dfm::Event(p, events, OnCreate, error);
  if (p.name == "FormStyle") {
    static const char* const kStyles[] = {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop", nullptr};
    int style = 0;
    if (!dfm::OneOf(p, kStyles, style, error)) return false;
    if (style == fsMDIChild || style == fsMDIForm) {
      error = dfm::Where(p) + "MDI forms are not supported";
      return false;
    }
    formStyle_ = static_cast<TFormStyle>(style);
    return true;
  }
  if (p.name == "Color") {
    static const char* const kColors[] = {"clBtnFace", nullptr};  // the toolkit's window colour
    int color = 0;
    return dfm::OneOf(p, kColors, color, error);
  }
  if (p.name == "Font.Charset") {
    static const char* const kCharsets[] = {"ANSI_CHARSET", "DEFAULT_CHARSET", "SHIFTJIS_CHARSET", nullptr};
    return dfm::OneOf(p, kCharsets, font_.Charset, error);
  }
  if (p.name == "Font.Color") {
    static const char* const kColors[] = {"clWindowText", nullptr};
    int color = 0;
    return dfm::OneOf(p, kColors, color, error);
  }
  if (p.name == "Font.Height") return dfm::Int(p, font_.Height, error);
  if (p.name == "Font.Name") return dfm::String(p, font_.Name, error);
  if (p.name == "Font.Style") {
    if (p.value.kind != DfmValue::Kind::Set || !p.value.set.empty()) {
      error = dfm::Where(p) + "only [] is supported";
      return false;
    }
    return true;
  }
  if (p.name == "PixelsPerInch" || p.name == "TextHeight") {
    // The layout is in pixels at 96 per inch; the toolkit scales it for
    // the screen as a whole.
    int value = 0;
    if (!dfm::Int(p, value, error)) return false;
    if (p.name == "PixelsPerInch" && value != 96) {
      error = dfm::Where(p) + "forms are laid out at 96 pixels per inch";
      return false;
    }
    return true;
  }
  if (p.name == "OldCreateOrder") {
    bool ignored = false;
    return dfm::Bool(p, ignored, error);
  }
  return TControl::SetProperty(p, events, error);
}

void TForm::Loaded() {
  QWidget* w = impl_->widget;
  w->setFont(FontFor(font_));
  w->setWindowFlag(Qt::WindowStaysOnTopHint, formStyle_ == fsStayOnTop);
  w->move(left_, top_);  // where it was designed: the frame's top-left corner
  if (outerWidth_ > 0 && outerHeight_ > 0) {
    w->resize(std::max(1, outerWidth_ - kFrameWidth), std::max(1, outerHeight_ - kFrameHeight));
  }
  // Controls take the form's font first, then lay themselves out.
  for (TControl* control : ownedControls_) control->Loaded();
  std::vector<TControl*> tabStops;
  for (TControl* control : ownedControls_) {
    if (control->TabOrder() >= 0) tabStops.push_back(control);
  }
  std::stable_sort(tabStops.begin(), tabStops.end(),
                   [](const TControl* a, const TControl* b) { return a->TabOrder() < b->TabOrder(); });
  for (size_t i = 0; i + 1 < tabStops.size(); ++i) QWidget::setTabOrder(WidgetOf(tabStops[i]), WidgetOf(tabStops[i + 1]));
  firstFocus_ = tabStops.empty() ? nullptr : tabStops.front();
}

bool TForm::ReadForm(std::string& error) {
  DfmObject root;
  const std::string text(FormResource());
  if (text.empty()) {
    error = std::string(ClassName()) + ": no form description";
    return false;
  }
  if (!ParseFormDescription(text, root, error)) return false;
  if (root.className != ClassName()) {
    error = "line " + std::to_string(root.line) + ": the description is for " + root.className + ", not " + ClassName();
    return false;
  }
  Name = root.name;
  const TPublished& published = Published();
  TEventSource events(*this, published);
  for (const auto& prop : root.properties) {
    if (!SetProperty(prop, events, error)) return false;
  }
  for (const auto& child : root.children) {
    auto factory = Factories().find(child.className);
    if (factory == Factories().end()) {
      error = "line " + std::to_string(child.line) + ": unknown control class " + child.className;
      return false;
    }
    if (!child.children.empty()) {
      error = "line " + std::to_string(child.line) + ": " + child.className + " cannot hold controls";
      return false;
    }
    TControl* control = factory->second(this);
    control->Name = child.name;
    ownedControls_.push_back(control);
    auto field = std::find_if(published.fields.begin(), published.fields.end(),
                              [&](const TPublished::Field& f) { return f.name == child.name; });
    if (field == published.fields.end()) {
      error = "line " + std::to_string(child.line) + ": " + ClassName() + " has no published field " + child.name;
      return false;
    }
    if (!field->bind(*this, control)) {
      error = "line " + std::to_string(child.line) + ": field " + child.name + " is not a " + child.className;
      return false;
    }
    for (const auto& prop : child.properties) {
      if (!control->SetProperty(prop, events, error)) {
        error = child.name + ": " + error;
        return false;
      }
    }
  }
  Loaded();
  return true;
}

void TForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}
