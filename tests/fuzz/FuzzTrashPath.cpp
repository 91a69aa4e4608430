// Fuzz target: the Path= encoding of info files. Decoding an encoding gives
// the same bytes back, and decoding never trips on arbitrary text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/trash/TrashEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string encoded = trash::EncodeTrashPath(bytes);
  for (char c : encoded) {
    const bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '.' || c == '_' || c == '~' || c == '/' || c == '%';
    if (!safe) std::abort();  // an info file line never holds a newline or a raw byte
  }
  std::string decoded;
  if (!trash::DecodeTrashPath(encoded, decoded) || decoded != bytes) std::abort();

  std::string loose;
  if (trash::DecodeTrashPath(bytes, loose)) {
    std::string again;
    if (!trash::DecodeTrashPath(trash::EncodeTrashPath(loose), again) || again != loose) std::abort();
  }
  // The name a path gets in the trash always fits with its ".trashinfo".
  if (trash::TrashNameFor(bytes).size() + 10 > 255) std::abort();
  return 0;
}
