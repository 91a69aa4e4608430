// Times the window's work on a very large list, in process on the
// offscreen platform: start-up with the paths as arguments, a drop of as
// many again, selecting all, a header click (the sort), and building the
// trash request. Prints one "name ms" line each.
//   list_bench PATHS_FILE   (one path per line)
#include <QApplication>
#include <QElapsedTimer>
#include <QTreeView>
#include <fstream>
#include <iostream>

#include "deletion/Deletion.h"
#include "platform/forms/QtBridge.h"
#include "platform/winapi/CommandLine.h"
#include "platform/winapi/DropHandle.h"
#include "ui/Unit1.h"

void SyncListView(TListView& list);

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: list_bench PATHS_FILE\n";
    return 2;
  }
  std::vector<std::string> paths;
  std::ifstream in(argv[1], std::ios::binary);
  for (std::string line; std::getline(in, line);) paths.push_back(line);
  std::vector<const char*> args{"delfiles"};
  for (const auto& p : paths) args.push_back(p.c_str());

  qputenv("QT_QPA_PLATFORM", "offscreen");
  QElapsedTimer timer;
  auto report = [&](const char* what) {
    std::cout << what << " " << timer.nsecsElapsed() / 1e6 << "\n";
    timer.restart();
  };
  timer.start();
  SetProcessArguments(static_cast<int>(args.size()), args.data());
  TApplication app(nullptr);
  Application = &app;
  app.Initialize();
  Application->CreateForm(&Form1);
  Form1->Show();
  SyncListView(*Form1->ListView1);
  QApplication::processEvents();
  report("startup");

  TMessage drop{WM_DROPFILES, reinterpret_cast<WPARAM>(CreateDropHandle(paths)), 0, 0};
  Form1->Dispatch(drop);
  SyncListView(*Form1->ListView1);
  QApplication::processEvents();
  report("drop");

  auto* view = static_cast<QTreeView*>(WidgetOf(Form1->ListView1));
  view->clearSelection();
  QApplication::processEvents();
  timer.restart();
  view->selectAll();
  QApplication::processEvents();
  report("select_all");

  Form1->ListView1->ClickColumn(0);
  QApplication::processEvents();
  report("sort");

  const std::string request = RecycleRequestText(Form1->ListView1->Items());
  report("request");
  std::cerr << "entries " << Form1->ListView1->Items()->Count() << ", request " << request.size() << " bytes\n";
  return 0;
}
