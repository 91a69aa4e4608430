// Kernel calls: deleting a file and comparing strings.
#pragma once

#include "platform/winapi/WinTypes.h"

// Deletes one file (a symlink itself, never its target). Refuses folders
// and read-only files. Returns zero on failure.
BOOL DeleteFileA(LPCSTR lpFileName);

inline constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
inline constexpr DWORD NORM_IGNORECASE = 0x00000001;
inline constexpr int CSTR_LESS_THAN = 1;
inline constexpr int CSTR_EQUAL = 2;
inline constexpr int CSTR_GREATER_THAN = 3;

// Compares two strings of the given byte lengths (-1: up to the NUL) in the
// collation of `Locale`. Returns one of CSTR_*, or 0 on error.
int CompareStringA(LCID Locale, DWORD dwCmpFlags, LPCSTR lpString1, int cchCount1, LPCSTR lpString2,
                   int cchCount2);
