// What stands behind a drop handle on Linux: the dropped paths as bytes.
// For the forms layer, which makes one from the toolkit's drop event.
#pragma once

#include <string>
#include <vector>

#include "platform/winapi/WinTypes.h"

struct HDROP__ {
  std::vector<std::string> paths;
};

// The handle belongs to whoever receives WM_DROPFILES; DragFinish frees it.
HDROP CreateDropHandle(std::vector<std::string> paths);

// Whether DragAcceptFiles registered the window. The forms layer asks this
// before it lets the toolkit offer a drop to the window.
bool AcceptsDroppedFiles(HWND hWnd);

// The forms layer learns of (un)registrations to switch drops on and off.
using DragAcceptHook = void (*)(HWND hWnd, bool accept);
void SetDragAcceptHook(DragAcceptHook hook);
