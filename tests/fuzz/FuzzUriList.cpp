// Fuzz target: decoding a dropped text/uri-list.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/forms/UriList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string list(reinterpret_cast<const char*>(data), size);
  for (const auto& path : DecodeUriList(list, "host")) {
    if (path.empty() || path[0] != '/') std::abort();        // only absolute local paths
    if (path.find('\0') != std::string::npos) std::abort();  // no path holds a NUL
    if (path.size() > list.size()) std::abort();             // decoding never grows a path
  }
  return 0;
}
