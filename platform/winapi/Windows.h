// Everything the program uses of the Windows API, in one include.
#pragma once

#include "platform/winapi/CommandLine.h"
#include "platform/winapi/Kernel.h"
#include "platform/winapi/ShellApi.h"
#include "platform/winapi/User.h"
#include "platform/winapi/WinTypes.h"
