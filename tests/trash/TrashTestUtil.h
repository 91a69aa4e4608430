// Reading back what the trash engine wrote, as a file manager would.
#pragma once

#include <string>

#include "platform/trash/TrashEngine.h"
#include "tests/support/TempDir.h"

namespace testsupport {

struct InfoFile {
  bool valid = false;
  std::string path;  // decoded Path= bytes
  std::string date;  // DeletionDate= text
};

// Parses trashDir/info/NAME.trashinfo strictly: the header, then Path= and
// DeletionDate= lines, with a decodable Path.
inline InfoFile ReadInfo(const std::string& trashDir, const std::string& name) {
  InfoFile info;
  std::string text = ReadFile(trashDir + "/info/" + name + ".trashinfo");
  const std::string header = "[Trash Info]\n";
  if (text.compare(0, header.size(), header) != 0) return info;
  size_t pos = header.size();
  bool havePath = false, haveDate = false;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) return info;  // every line ends in a newline
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    if (line.rfind("Path=", 0) == 0) {
      havePath = trash::DecodeTrashPath(line.substr(5), info.path);
    } else if (line.rfind("DeletionDate=", 0) == 0) {
      info.date = line.substr(13);
      haveDate = true;
    } else {
      return info;
    }
  }
  info.valid = havePath && haveDate;
  return info;
}

inline trash::TrashEnvironment EnvWithDataHome(const std::string& dataHome) {
  trash::TrashEnvironment env;
  env.dataHome = dataHome;
  env.uid = geteuid();
  return env;
}

}  // namespace testsupport
