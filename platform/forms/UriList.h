// Reads a text/uri-list drop: the local file paths it names, as bytes.
#pragma once

#include <string>
#include <vector>

// Percent-decodes each file:// URI straight to bytes, never through a text
// encoding. URIs for other hosts or schemes, comments and malformed lines
// are left out. `localHost` is this machine's name (file://HOST/... counts
// as local for it and for "localhost").
std::vector<std::string> DecodeUriList(const std::string& data, const std::string& localHost = "");
