// Shell calls: file drops and the shell's file operations.
#pragma once

#include "platform/winapi/WinTypes.h"

// Registers or unregisters a window as a target for dropped files.
void DragAcceptFiles(HWND hWnd, BOOL fAccept);

// With iFile 0xFFFFFFFF returns the number of dropped files. With a null
// lpszFile returns the length of path iFile in bytes, without its NUL.
// Otherwise copies at most cch - 1 bytes of it plus a NUL and returns the
// number of bytes copied. Returns 0 for an index out of range.
UINT DragQueryFileA(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch);

// Releases a drop handle.
void DragFinish(HDROP hDrop);

inline constexpr UINT FO_MOVE = 1;
inline constexpr UINT FO_COPY = 2;
inline constexpr UINT FO_DELETE = 3;
inline constexpr UINT FO_RENAME = 4;

using FILEOP_FLAGS = WORD;
inline constexpr FILEOP_FLAGS FOF_ALLOWUNDO = 0x0040;

struct SHFILEOPSTRUCTA {
  HWND hwnd;
  UINT wFunc;
  LPCSTR pFrom;  // paths, each ending in NUL, the list ending in an empty one
  LPCSTR pTo;
  FILEOP_FLAGS fFlags;
  BOOL fAnyOperationsAborted;
  LPVOID hNameMappings;
  LPCSTR lpszProgressTitle;
};
using LPSHFILEOPSTRUCTA = SHFILEOPSTRUCTA*;

// Carries out a file operation with the shell's own confirmation, progress
// and error windows. Returns 0 when every file was done, non-zero otherwise.
int SHFileOperationA(LPSHFILEOPSTRUCTA lpFileOp);
