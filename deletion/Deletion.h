// The OK action: the selected files go to the trash in one shell request,
// or, in permanent mode, are deleted one by one with one report of what
// could not be deleted. Either way the window closes afterwards.
#pragma once

#include <functional>
#include <string>

#include "platform/forms/ListItems.h"
#include "platform/winapi/Windows.h"

// The selected entries' paths in list order, each followed by a NUL, and
// one more NUL at the end; empty when nothing is selected.
std::string RecycleRequestText(const TListItems* items);

// The report for the failed paths `failedList` (each already followed by a
// CR): the header, two CRs, then the list.
std::string FailureReportText(const std::string& failedList);

// Hands the selected paths to the shell in one request with undo allowed.
void RecycleSelected(const TListItems* items, HWND applicationHandle);

// Deletes each selected file for good; shows one report, owned by `owner`,
// if any could not be deleted.
void DeleteSelectedPermanently(const TListItems* items, HWND owner);

// The whole run: the mode comes from the check box; `closeWindow` ends it.
void RunDeletion(const TListItems* items, bool permanent, HWND applicationHandle, HWND owner,
                 const std::function<void()>& closeWindow);
