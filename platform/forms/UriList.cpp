#include "platform/forms/UriList.h"

#include <cctype>

namespace {

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

// One URI to a path; false when it is not a local file.
bool FilePath(const std::string& uri, const std::string& localHost, std::string& path) {
  const std::string scheme = "file://";
  if (uri.size() < scheme.size() || !EqualsIgnoringCase(uri.substr(0, scheme.size()), scheme)) return false;
  size_t slash = uri.find('/', scheme.size());
  if (slash == std::string::npos) return false;
  const std::string host = uri.substr(scheme.size(), slash - scheme.size());
  if (!host.empty() && !EqualsIgnoringCase(host, "localhost") && !(localHost.size() && EqualsIgnoringCase(host, localHost)))
    return false;
  path.clear();
  for (size_t i = slash; i < uri.size(); ++i) {
    char c = uri[i];
    if (c == '?' || c == '#') break;  // a query or fragment is not part of a path
    // Control bytes never stand raw in a URI. A raw NUL would cut the path
    // into the name of some other file; refuse the whole line instead.
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    if (c == '%') {
      if (i + 2 >= uri.size()) return false;
      int hi = Hex(uri[i + 1]), lo = Hex(uri[i + 2]);
      if (hi < 0 || lo < 0) return false;
      c = static_cast<char>(hi * 16 + lo);
      i += 2;
      if (c == '\0') return false;  // no path holds a NUL
    }
    path += c;
  }
  return true;
}

}  // namespace

std::vector<std::string> DecodeUriList(const std::string& data, const std::string& localHost) {
  std::vector<std::string> paths;
  size_t pos = 0;
  while (pos < data.size()) {
    size_t end = data.find('\n', pos);
    if (end == std::string::npos) end = data.size();
    std::string line = data.substr(pos, end - pos);
    pos = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
    size_t start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
    line.erase(0, start);
    if (line.empty() || line[0] == '#') continue;
    std::string path;
    if (FilePath(line, localHost, path)) paths.push_back(std::move(path));
  }
  return paths;
}
