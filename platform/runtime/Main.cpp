// The platform's run-time start: hands the command line over, makes the
// application object and the shell's windows, then enters the program.
#include "platform/forms/Forms.h"
#include "platform/shell/windows/DesktopShell.h"
#include "platform/winapi/CommandLine.h"
#include "platform/winapi/WinMain.h"

int main(int argc, char** argv) {
  // Before anything else, and before the toolkit exists: the arguments
  // are the program's, byte for byte.
  SetProcessArguments(argc, argv);
  TApplication application(nullptr);
  Application = &application;
  shell::DesktopShell desktopShell;
  char emptyCommandLine[] = "";
  return WinMain(nullptr, nullptr, emptyCommandLine, 1);
}
