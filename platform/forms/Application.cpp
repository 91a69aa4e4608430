#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "platform/forms/QtBridge.h"

TApplication* Application = nullptr;

namespace {
// QApplication keeps references to these for its whole life.
int g_argc = 1;
char g_programName[] = "delfiles";
char* g_argv[] = {g_programName, nullptr};
QApplication* g_toolkit = nullptr;  // made by the Initialize of `g_toolkitOwner`
const TApplication* g_toolkitOwner = nullptr;
}  // namespace

TApplication::TApplication(TComponent* owner) : TComponent(owner), handle_(std::make_unique<HWND__>()) {}

TApplication::~TApplication() {
  DestroyComponents();  // forms before the toolkit they stand on
  mainForm_ = nullptr;
  if (Application == this) Application = nullptr;
  if (g_toolkitOwner == this) {
    delete g_toolkit;
    g_toolkit = nullptr;
    g_toolkitOwner = nullptr;
  }
}

void TApplication::Initialize() {
  if (QApplication::instance()) return;
  // The toolkit gets the program's name and nothing else: every argument
  // is a path for the program, even one that looks like "-style".
  QApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  g_toolkit = new QApplication(g_argc, g_argv);
  g_toolkitOwner = this;
  g_toolkit->setQuitOnLastWindowClosed(false);  // the main form decides when it ends
  g_toolkit->setFont(FontFor(TFontSpec{"ＭＳ Ｐゴシック", -12, 128}));
  if (MainIcon && MainIcon()) g_toolkit->setWindowIcon(QIcon(QPixmap(MainIcon())));
}

void TApplication::AdoptForm(TForm* form) {
  if (!mainForm_) mainForm_ = form;
  std::string error;
  if (!form->ReadForm(error)) {
    std::fprintf(stderr, "delfiles: cannot build %s from its form description: %s\n", form->ClassName(), error.c_str());
    std::exit(1);
  }
  form->DoCreate();
}

void TApplication::Run() {
  if (!mainForm_ || !QApplication::instance()) return;
  mainForm_->Show();
  QApplication::exec();
}

void TApplication::Terminate() {
  if (QApplication::instance()) QApplication::quit();
}

HWND TApplication::Handle() const { return handle_.get(); }
