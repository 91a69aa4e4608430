#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "platform/forms/FormDescription.h"
#include "platform/forms/Properties.h"
#include "platform/forms/QtBridge.h"

namespace {

// The widget a new control goes on: its owner form's, if it has one.
QWidget* ParentWidget(TComponent* owner) {
  auto* control = dynamic_cast<TControl*>(owner);
  return control ? WidgetOf(control) : nullptr;
}

}  // namespace

std::any TEventSource::Find(const std::string& name, std::string& error) const {
  for (const auto& event : published_.events) {
    if (event.name == name) return event.handler(form_);
  }
  error = "no published handler named " + name;
  return {};
}

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_) owner_->owned_.push_back(this);
}

TComponent::~TComponent() {
  DestroyComponents();
  if (owner_) {
    auto& siblings = owner_->owned_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

void TComponent::DestroyComponents() {
  while (!owned_.empty()) delete owned_.back();  // each removes itself
}

bool TComponent::SetProperty(const DfmProperty& p, const TEventSource&, std::string& error) {
  if (p.name == "Tag") return dfm::Int(p, Tag, error);
  error = dfm::Where(p) + "unknown property";
  return false;
}

TControl::TControl(TComponent* owner, std::unique_ptr<TControlImpl> impl) : TComponent(owner), impl_(std::move(impl)) {}

TControl::~TControl() = default;

int TControl::Left() const { return impl_->widget->x(); }
int TControl::Top() const { return impl_->widget->y(); }
int TControl::Width() const { return impl_->widget->width(); }
int TControl::Height() const { return impl_->widget->height(); }

void TControl::SetBounds(int left, int top, int width, int height) { impl_->widget->setGeometry(left, top, width, height); }

std::string TControl::Caption() const {
  QWidget* w = impl_->widget;
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text().toStdString();
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text().toStdString();
  return w->windowTitle().toStdString();
}

void TControl::SetCaption(const std::string& caption) {
  QWidget* w = impl_->widget;
  const QString text = QString::fromStdString(caption);
  if (auto* button = qobject_cast<QAbstractButton*>(w))
    button->setText(text);
  else
    w->setWindowTitle(text);
}

bool TControl::Focused() const { return impl_->widget->hasFocus(); }

void TControl::SetFocus() { impl_->widget->setFocus(Qt::OtherFocusReason); }

bool TControl::SetProperty(const DfmProperty& p, const TEventSource& events, std::string& error) {
  QWidget* w = impl_->widget;
  int value = 0;
  if (p.name == "Left" || p.name == "Top" || p.name == "Width" || p.name == "Height") {
    if (!dfm::Int(p, value, error)) return false;
    QRect r = w->geometry();
    if (p.name == "Left") r.moveLeft(value);
    if (p.name == "Top") r.moveTop(value);
    if (p.name == "Width") r.setWidth(value);
    if (p.name == "Height") r.setHeight(value);
    w->setGeometry(r);
    return true;
  }
  if (p.name == "Caption") {
    std::string text;
    if (!dfm::String(p, text, error)) return false;
    SetCaption(text);
    return true;
  }
  if (p.name == "TabOrder") return dfm::Int(p, tabOrder_, error);
  return TComponent::SetProperty(p, events, error);
}

TLabel::TLabel(TComponent* owner) : TControl(owner, std::make_unique<TControlImpl>(new QLabel(ParentWidget(owner)))) {
  auto* label = static_cast<QLabel*>(impl_->widget.data());
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TLabel::SetCaption(const std::string& caption) {
  static_cast<QLabel*>(impl_->widget.data())->setText(QString::fromStdString(caption));
  if (autoSize_) FitToText();
}

// As the framework's labels do by default: the label takes the size of its
// text, so no caption is ever cut.
void TLabel::FitToText() {
  auto* label = static_cast<QLabel*>(impl_->widget.data());
  const QFontMetrics metrics(label->font());
  const QSize size(metrics.horizontalAdvance(label->text()) + 1, metrics.height());
  label->resize(size);
}

void TLabel::Loaded() {
  if (autoSize_) FitToText();  // the form's font is known only now
}

bool TLabel::SetProperty(const DfmProperty& p, const TEventSource& events, std::string& error) {
  if (p.name == "AutoSize") return dfm::Bool(p, autoSize_, error);
  return TControl::SetProperty(p, events, error);
}

TButton::TButton(TComponent* owner)
    : TControl(owner, std::make_unique<TControlImpl>(new QPushButton(ParentWidget(owner)))) {
  auto* button = static_cast<QPushButton*>(impl_->widget.data());
  // Neither Enter nor Esc presses a button the form did not declare so.
  button->setAutoDefault(false);
  button->setDefault(false);
  QObject::connect(button, &QPushButton::clicked, [this] { Click(); });
}

void TButton::Click() {
  if (OnClick) OnClick(this);
}

bool TButton::SetProperty(const DfmProperty& p, const TEventSource& events, std::string& error) {
  if (p.name == "OnClick") return dfm::Event(p, events, OnClick, error);
  if (p.name == "Default" || p.name == "Cancel") {
    bool on = false;
    if (!dfm::Bool(p, on, error)) return false;
    if (on) {
      error = dfm::Where(p) + "default and cancel buttons are not supported";
      return false;
    }
    return true;
  }
  return TControl::SetProperty(p, events, error);
}

TCheckBox::TCheckBox(TComponent* owner)
    : TControl(owner, std::make_unique<TControlImpl>(new QCheckBox(ParentWidget(owner)))) {
  auto* box = static_cast<QCheckBox*>(impl_->widget.data());
  QObject::connect(box, &QCheckBox::clicked, [this] {
    if (OnClick) OnClick(this);
  });
}

bool TCheckBox::Checked() const { return static_cast<QCheckBox*>(impl_->widget.data())->isChecked(); }

void TCheckBox::SetChecked(bool checked) { static_cast<QCheckBox*>(impl_->widget.data())->setChecked(checked); }

bool TCheckBox::SetProperty(const DfmProperty& p, const TEventSource& events, std::string& error) {
  if (p.name == "OnClick") return dfm::Event(p, events, OnClick, error);
  if (p.name == "Checked") {
    bool on = false;
    if (!dfm::Bool(p, on, error)) return false;
    SetChecked(on);
    return true;
  }
  return TControl::SetProperty(p, events, error);
}
