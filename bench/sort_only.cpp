// The header sort alone, as the user's click runs it, on a window holding
// the paths of PATHS_FILE: the anchor comparison with sort(1).
//   sort_only PATHS_FILE   -> prints the sort's milliseconds
#include <QElapsedTimer>
#include <iostream>

#include "bench/BenchWindow.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  TApplication app(nullptr);
  OpenWindowWith(argv[1], app);
  QElapsedTimer timer;
  timer.start();
  Form1->ListView1->ClickColumn(0);
  QApplication::processEvents();
  std::cout << timer.nsecsElapsed() / 1e6 << "\n";
  return 0;
}
