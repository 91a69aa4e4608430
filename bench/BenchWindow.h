// For the list benchmarks: opens the main window on the offscreen platform
// with the paths of a file (one a line) as its command line.
#pragma once

#include <QApplication>
#include <fstream>
#include <string>
#include <vector>

#include "platform/forms/QtBridge.h"
#include "platform/winapi/CommandLine.h"
#include "ui/Unit1.h"

// The paths, kept for the life of the process as argv strings are.
inline std::vector<std::string>& BenchPaths() {
  static std::vector<std::string> paths;
  return paths;
}

inline void OpenWindowWith(const char* pathsFile, TApplication& app) {
  std::ifstream in(pathsFile, std::ios::binary);
  for (std::string line; std::getline(in, line);) BenchPaths().push_back(line);
  static std::vector<const char*> args{"delfiles"};
  for (const auto& p : BenchPaths()) args.push_back(p.c_str());
  qputenv("QT_QPA_PLATFORM", "offscreen");
  SetProcessArguments(static_cast<int>(args.size()), args.data());
  Application = &app;
  app.Initialize();
  Application->CreateForm(&Form1);
  Form1->Show();
  SyncListView(*Form1->ListView1);
  QApplication::processEvents();
}
