// Times the window's work on a very large list, in process on the
// offscreen platform: start-up with the paths as arguments, a drop of as
// many again, selecting all, a header click (the sort), and building the
// trash request. Prints one "name ms" line each.
//   list_bench PATHS_FILE   (one path per line)
#include <QElapsedTimer>
#include <QTreeView>
#include <iostream>

#include "bench/BenchWindow.h"
#include "deletion/Deletion.h"
#include "platform/forms/QtBridge.h"
#include "platform/winapi/DropHandle.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: list_bench PATHS_FILE\n";
    return 2;
  }
  QElapsedTimer timer;
  auto report = [&](const char* what) {
    std::cout << what << " " << timer.nsecsElapsed() / 1e6 << "\n";
    timer.restart();
  };
  timer.start();
  TApplication app(nullptr);
  OpenWindowWith(argv[1], app);
  report("startup");

  TMessage drop{WM_DROPFILES, reinterpret_cast<WPARAM>(CreateDropHandle(BenchPaths())), 0, 0};
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
