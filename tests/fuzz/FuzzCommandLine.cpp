// Fuzz target: splitting a whole command line.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/winapi/CommandLine.h"

namespace {
bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

void Check(const std::string& line, bool (*lead)(unsigned char)) {
  const auto args = SplitCommandLineA(line.c_str(), lead);
  size_t bytes = 0;
  for (const auto& arg : args) {
    if (arg.empty()) std::abort();  // splitting stops at the first empty argument
    bytes += arg.size();
  }
  if (bytes > line.size()) std::abort();  // arguments only ever lose bytes (quotes, separators)
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);  // c_str() stops at a NUL, as a line does
  Check(line, nullptr);
  Check(line, ShiftJisLead);
  return 0;
}
