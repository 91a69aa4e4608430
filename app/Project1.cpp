// The program: start the application, create the main window, run it.
#include "platform/forms/Forms.h"
#include "platform/winapi/WinMain.h"
#include "ui/Unit1.h"

int WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Application->Initialize();
  Application->CreateForm(&Form1);
  Application->Run();
  return 0;
}
