#include "platform/winapi/CommandLine.h"

namespace {
// The process's own argv strings, which live as long as the process: a
// whole folder's worth of paths is not copied a second time.
std::vector<const char*>& Arguments() {
  static std::vector<const char*> args;
  return args;
}

bool IsSeparator(unsigned char c) { return c >= 1 && c <= 32; }
}  // namespace

int ParamCount() {
  const auto& args = Arguments();
  return args.empty() ? 0 : static_cast<int>(args.size()) - 1;
}

std::string ParamStr(int i) {
  const auto& args = Arguments();
  if (i < 0 || static_cast<size_t>(i) >= args.size()) return {};
  return std::string(args[static_cast<size_t>(i)]);
}

void SetProcessArguments(int argc, const char* const* argv) {
  auto& args = Arguments();
  args.clear();
  args.push_back(argc > 0 && argv[0] ? argv[0] : "");
  for (int i = 1; i < argc; ++i) {
    if (argv[i] && argv[i][0]) args.push_back(argv[i]);
  }
}

std::vector<std::string> SplitCommandLineA(const char* line, bool (*isLeadByte)(unsigned char)) {
  std::vector<std::string> args;
  if (!line) return args;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(line);
  // Appends the character at p (two bytes for a lead byte not followed by
  // the end of the line) and steps past it.
  auto take = [&](std::string& arg) {
    if (isLeadByte && isLeadByte(*p) && p[1] != 0) arg += static_cast<char>(*p++);
    arg += static_cast<char>(*p++);
  };
  for (;;) {
    for (;;) {
      while (IsSeparator(*p)) ++p;
      if (p[0] == '"' && p[1] == '"') {
        p += 2;  // "" standing alone counts as a separator
        continue;
      }
      break;
    }
    std::string arg;
    while (*p > 32) {
      if (*p == '"') {
        ++p;
        while (*p != 0 && *p != '"') take(arg);
        if (*p == '"') ++p;
      } else {
        take(arg);
      }
    }
    if (arg.empty()) break;
    args.push_back(std::move(arg));
  }
  return args;
}
