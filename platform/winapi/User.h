// User-interface calls and messages.
#pragma once

#include "platform/winapi/WinTypes.h"

inline constexpr UINT WM_DROPFILES = 0x0233;

inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_ICONINFORMATION = 0x00000040;
inline constexpr int IDOK = 1;

// Shows a modal message box owned by hWnd. Lines of lpText break at CR.
int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
