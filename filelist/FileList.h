// The file list: the paths handed to the program, each a list item whose
// caption is the path, selected when it arrives.
#pragma once

#include <string>

#include "platform/forms/ListItems.h"
#include "platform/winapi/Windows.h"

// Appends an entry for `path`, kept byte for byte, and selects it.
void AddEntry(TListItems* items, const std::string& path);

// Adds one entry per command-line argument, in order.
void TakeCommandLine(TListItems* items);

// Adds one entry per dropped file, in the drop's order, then releases the
// drop handle.
void TakeDrop(TListItems* items, HDROP drop);
