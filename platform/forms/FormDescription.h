// The text form of a form description ("object Form1: TForm1 ... end"),
// parsed into a tree. Applying it to live components is FormReader's job.
#pragma once

#include <string>
#include <vector>

struct DfmProperty;

struct DfmValue {
  enum class Kind { Integer, String, Identifier, Set, Collection };
  Kind kind = Kind::Integer;
  long long integer = 0;
  std::string text;                              // String: UTF-8; Identifier: the name
  std::vector<std::string> set;                  // Set: the members
  std::vector<std::vector<DfmProperty>> items;   // Collection: each item's properties
};

struct DfmProperty {
  std::string name;  // may be dotted: "Font.Height"
  DfmValue value;
  int line = 0;
};

struct DfmObject {
  std::string name;
  std::string className;
  int line = 0;
  std::vector<DfmProperty> properties;
  std::vector<DfmObject> children;
};

// Parses `text`. On failure returns false and sets `error` to a message
// naming the line.
bool ParseFormDescription(const std::string& text, DfmObject& root, std::string& error);

// Appends the UTF-8 encoding of code point `cp`.
void AppendUtf8(std::string& out, unsigned cp);
