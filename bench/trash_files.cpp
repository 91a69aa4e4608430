// Trashes the NUL-separated paths read from standard input with the trash
// engine, as one run. Used by the trash benchmark.
#include <stdio.h>
#include <unistd.h>

#include <string>

#include "platform/trash/TrashEngine.h"

int main() {
  std::string input;
  char buf[1 << 16];
  ssize_t n;
  while ((n = read(0, buf, sizeof buf)) > 0) input.append(buf, static_cast<size_t>(n));

  trash::TrashEngine engine;
  size_t failed = 0, start = 0;
  while (start < input.size()) {
    size_t end = input.find('\0', start);
    if (end == std::string::npos) end = input.size();
    if (!engine.Trash(input.substr(start, end - start)).ok()) ++failed;
    start = end + 1;
  }
  if (failed) fprintf(stderr, "trash_files: %zu paths failed\n", failed);
  return failed ? 1 : 0;
}
