// What stands behind MessageBoxA: the forms layer installs a window; tests
// install their own. Without one, the message goes to standard error.
#pragma once

#include <string>

#include "platform/winapi/WinTypes.h"

class MessageBoxHandler {
 public:
  virtual ~MessageBoxHandler() = default;
  // Texts are bytes in the system code page; returns the button pressed.
  virtual int Show(HWND owner, const std::string& text, const std::string& caption, UINT type) = 0;
};

// Installs `handler` (not owned; null restores the default) and returns the
// one it replaces.
MessageBoxHandler* SetMessageBoxHandler(MessageBoxHandler* handler);
