// The anchor for start-up times: a bare Qt Widgets window of the same size
// and title as ours, with nothing in it. With "--label" it shows one line
// of text, which is what starts the toolkit's font system.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
  const bool label = argc > 1 && std::strcmp(argv[1], "--label") == 0;
  int toolkitArgc = 1;
  QApplication app(toolkitArgc, argv);
  QWidget window;
  window.setWindowTitle(QString::fromUtf8("ファイルの削除"));
  window.resize(330, 191);
  if (label) (new QLabel(QString::fromUtf8("上記の選択されているファイルを削除します"), &window))->move(8, 120);
  window.show();
  return app.exec();
}
