// The process's command line: the program's path and its arguments.
#pragma once

#include <string>
#include <vector>

// Number of arguments after the program's own path.
int ParamCount();
// Argument i (0: the program's path); empty when out of range.
std::string ParamStr(int i);

// How the process hands its arguments over on Linux, where they arrive
// already split: each non-empty element after argv[0] is one argument,
// kept byte for byte. Call once, before anything reads the command line;
// the strings are used in place and must live as long as the process.
void SetProcessArguments(int argc, const char* const* argv);

// Splits a whole command line the way Windows programs do: arguments are
// separated by bytes 1 to 32; double quotes group, and are dropped; a ""
// where an argument would begin is skipped; splitting stops at the first
// empty argument. `isLeadByte` tells the first byte of a two-byte character
// of the code page; such characters are stepped over whole.
std::vector<std::string> SplitCommandLineA(const char* line, bool (*isLeadByte)(unsigned char) = nullptr);
