// The header sort alone, as the user's click runs it, on a window holding
// the paths of PATHS_FILE: the anchor comparison with sort(1).
//   sort_only PATHS_FILE   -> prints the sort's milliseconds
#include <QApplication>
#include <QElapsedTimer>
#include <fstream>
#include <iostream>

#include "platform/winapi/CommandLine.h"
#include "ui/Unit1.h"

void SyncListView(TListView& list);

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::vector<std::string> paths;
  std::ifstream in(argv[1], std::ios::binary);
  for (std::string line; std::getline(in, line);) paths.push_back(line);
  std::vector<const char*> args{"delfiles"};
  for (const auto& p : paths) args.push_back(p.c_str());
  qputenv("QT_QPA_PLATFORM", "offscreen");
  SetProcessArguments(static_cast<int>(args.size()), args.data());
  TApplication app(nullptr);
  Application = &app;
  app.Initialize();
  Application->CreateForm(&Form1);
  Form1->Show();
  SyncListView(*Form1->ListView1);
  QApplication::processEvents();
  QElapsedTimer timer;
  timer.start();
  Form1->ListView1->ClickColumn(0);
  QApplication::processEvents();
  std::cout << timer.nsecsElapsed() / 1e6 << "\n";
  return 0;
}
