// The program's entry point, called by the platform's start-up code once
// the process and its command line are ready.
#pragma once

#include "platform/winapi/WinTypes.h"

struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;

// Defined by the program.
int WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
