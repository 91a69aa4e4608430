// The Qt side of the forms layer, for the platform's own Qt code (the
// shell's windows, tests): what stands behind a control and a handle.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/forms/Forms.h"

struct TControlImpl {
  explicit TControlImpl(QWidget* w) : widget(w) {}
  ~TControlImpl() { delete widget.data(); }  // a parent may have deleted it already
  QPointer<QWidget> widget;
};

// A window handle: a form's, or the application's (no form).
struct HWND__ {
  TForm* form = nullptr;
};

// The widget a window owned by `handle` should sit on: the form's own, or
// for the application's handle the main form's (null before there is one).
QWidget* WidgetForHandle(HWND handle);

// The toolkit's widget behind a control.
inline QWidget* WidgetOf(const TControl* control) { return control ? control->Impl().widget.data() : nullptr; }

// Brings a list view's rows and selection up to date with its items now,
// rather than when control next returns to the event loop.
void SyncListView(TListView& list);

// The font a form description's font maps to on this desktop.
QFont FontFor(const TFontSpec& spec);
