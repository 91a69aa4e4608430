// Runs a fuzz target over stored inputs, so that the corpus and every crash
// found are checked on each test run with the ordinary compiler.
//   replay FILE_OR_FOLDER...
#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {
int Replay(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    std::fprintf(stderr, "replay: no %s\n", path.c_str());
    return 1;
  }
  if (S_ISDIR(st.st_mode)) {
    int count = 0;
    DIR* dir = opendir(path.c_str());
    while (struct dirent* e = readdir(dir)) {
      if (e->d_name[0] != '.') count += Replay(path + "/" + e->d_name);
    }
    closedir(dir);
    return count;
  }
  std::ifstream in(path, std::ios::binary);
  const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(data.data()), data.size());
  return 1;
}
}  // namespace

int main(int argc, char** argv) {
  int count = 0;
  for (int i = 1; i < argc; ++i) count += Replay(argv[i]);
  std::printf("replayed %d inputs\n", count);
  return count > 0 ? 0 : 1;
}
