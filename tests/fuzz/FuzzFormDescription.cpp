// Fuzz target: parsing a form description.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/forms/FormDescription.h"

namespace {
// Every text the parser produces is valid UTF-8.
void CheckUtf8(const std::string& s) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data());
  size_t i = 0, n = s.size();
  while (i < n) {
    const unsigned c = p[i];
    size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > n) std::abort();
    for (size_t k = 1; k < len; ++k)
      if ((p[i + k] & 0xC0) != 0x80) std::abort();
    i += len;
  }
}

void Walk(const std::vector<DfmProperty>& properties, int depth);

void Walk(const DfmValue& v, int depth) {
  if (depth > 200) std::abort();  // nesting is bounded
  CheckUtf8(v.text);
  for (const auto& item : v.items) Walk(item, depth + 1);
}

void Walk(const std::vector<DfmProperty>& properties, int depth) {
  for (const auto& p : properties) Walk(p.value, depth);
}

void Walk(const DfmObject& o, int depth) {
  if (depth > 200) std::abort();
  Walk(o.properties, depth);
  for (const auto& child : o.children) Walk(child, depth + 1);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DfmObject root;
  std::string error;
  if (ParseFormDescription(std::string(reinterpret_cast<const char*>(data), size), root, error)) {
    Walk(root, 0);
  } else if (error.empty()) {
    std::abort();  // a failure always says why
  }
  return 0;
}
