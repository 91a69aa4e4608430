#include "platform/winapi/MessageBox.h"

#include <cstdio>

#include "platform/winapi/User.h"

namespace {
MessageBoxHandler* g_handler = nullptr;
}

MessageBoxHandler* SetMessageBoxHandler(MessageBoxHandler* handler) {
  MessageBoxHandler* old = g_handler;
  g_handler = handler;
  return old;
}

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  const std::string text = lpText ? lpText : "";
  const std::string caption = lpCaption ? lpCaption : "";
  if (g_handler) return g_handler->Show(hWnd, text, caption, uType);
  std::string shown = text;
  for (char& c : shown) {
    if (c == '\r') c = '\n';
  }
  std::fprintf(stderr, "%s\n%s\n", caption.c_str(), shown.c_str());
  return IDOK;
}
