#include "platform/forms/FormDescription.h"

#include <cctype>

namespace {

// Nesting beyond this is not a form anyone wrote; refuse it rather than
// recurse without bound.
constexpr int kMaxDepth = 64;

class Parser {
 public:
  explicit Parser(const std::string& text) : s_(text) {}

  bool ParseRoot(DfmObject& root) {
    SkipSpace();
    if (!ParseObject(root, 0)) return false;
    SkipSpace();
    if (pos_ != s_.size()) return Fail("text after the final 'end'");
    return true;
  }

  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& what) {
    if (error_.empty()) error_ = "line " + std::to_string(line_) + ": " + what;
    return false;
  }

  void SkipSpace() {
    while (pos_ < s_.size()) {
      char c = s_[pos_];
      if (c == '\n') ++line_;
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/') {
        while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  bool Peek(char c) {
    SkipSpace();
    return pos_ < s_.size() && s_[pos_] == c;
  }

  bool Expect(char c) {
    if (!Peek(c)) return Fail(std::string("expected '") + c + "'");
    ++pos_;
    return true;
  }

  static bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
  static bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

  bool Identifier(std::string& out, bool dotted = false) {
    SkipSpace();
    if (pos_ >= s_.size() || !IsIdentStart(s_[pos_])) return Fail("expected a name");
    size_t start = pos_;
    while (pos_ < s_.size() && (IsIdentChar(s_[pos_]) || (dotted && s_[pos_] == '.'))) ++pos_;
    out = s_.substr(start, pos_ - start);
    return true;
  }

  bool PeekWord(const char* word) {
    SkipSpace();
    size_t n = std::char_traits<char>::length(word);
    if (s_.compare(pos_, n, word) != 0) return false;
    return pos_ + n >= s_.size() || !IsIdentChar(s_[pos_ + n]);
  }

  bool ParseObject(DfmObject& obj, int depth) {
    if (depth > kMaxDepth) return Fail("objects nested too deep");
    if (!PeekWord("object")) return Fail("expected 'object'");
    obj.line = line_;
    pos_ += 6;
    if (!Identifier(obj.name) || !Expect(':') || !Identifier(obj.className)) return false;
    for (;;) {
      SkipSpace();
      if (pos_ >= s_.size()) return Fail("missing 'end' of object " + obj.name);
      if (PeekWord("end")) {
        pos_ += 3;
        return true;
      }
      if (PeekWord("object")) {
        obj.children.emplace_back();
        if (!ParseObject(obj.children.back(), depth + 1)) return false;
        continue;
      }
      DfmProperty prop;
      if (!ParseProperty(prop, depth)) return false;
      obj.properties.push_back(std::move(prop));
    }
  }

  bool ParseProperty(DfmProperty& prop, int depth) {
    prop.line = line_;
    if (!Identifier(prop.name, true) || !Expect('=')) return false;
    return ParseValue(prop.value, depth);
  }

  bool ParseValue(DfmValue& v, int depth) {
    SkipSpace();
    if (pos_ >= s_.size()) return Fail("missing value");
    char c = s_[pos_];
    if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) return ParseInteger(v);
    if (c == '\'' || c == '#') return ParseString(v);
    if (c == '[') return ParseSet(v);
    if (c == '<') return ParseCollection(v, depth);
    if (IsIdentStart(c)) {
      if (PeekWord("end") || PeekWord("object") || PeekWord("item")) return Fail("missing value");
      v.kind = DfmValue::Kind::Identifier;
      return Identifier(v.text, true);
    }
    return Fail(std::string("unexpected '") + c + "'");
  }

  bool ParseInteger(DfmValue& v) {
    v.kind = DfmValue::Kind::Integer;
    bool negative = s_[pos_] == '-';
    if (negative) ++pos_;
    if (pos_ >= s_.size() || !std::isdigit(static_cast<unsigned char>(s_[pos_]))) return Fail("expected a number");
    long long value = 0;
    while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) {
      value = value * 10 + (s_[pos_++] - '0');
      if (value > 0x7FFFFFFF) return Fail("number out of range");
    }
    v.integer = negative ? -value : value;
    return true;
  }

  // 'text' runs and #NNN characters (UTF-16 code units), joined; a '+'
  // continues the string on the next line.
  bool ParseString(DfmValue& v) {
    v.kind = DfmValue::Kind::String;
    std::string out;
    unsigned pendingHigh = 0;  // a high surrogate waiting for its pair
    auto flush = [&] {
      if (pendingHigh) AppendUtf8(out, 0xFFFD);
      pendingHigh = 0;
    };
    for (;;) {
      if (pos_ < s_.size() && s_[pos_] == '\'') {
        flush();
        ++pos_;
        for (;;) {
          if (pos_ >= s_.size() || s_[pos_] == '\n') return Fail("unterminated string");
          char ch = s_[pos_++];
          if (ch == '\'') {
            if (pos_ < s_.size() && s_[pos_] == '\'') {
              out += '\'';
              ++pos_;
              continue;
            }
            break;
          }
          AppendUtf8(out, static_cast<unsigned char>(ch));
        }
      } else if (pos_ < s_.size() && s_[pos_] == '#') {
        ++pos_;
        if (pos_ >= s_.size() || !std::isdigit(static_cast<unsigned char>(s_[pos_])))
          return Fail("expected a character code after '#'");
        unsigned unit = 0;
        while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) {
          unit = unit * 10 + static_cast<unsigned>(s_[pos_++] - '0');
          if (unit > 0xFFFF) return Fail("character code out of range");
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
          flush();
          pendingHigh = unit;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
          if (pendingHigh) {
            AppendUtf8(out, 0x10000 + ((pendingHigh - 0xD800) << 10) + (unit - 0xDC00));
            pendingHigh = 0;
          } else {
            AppendUtf8(out, 0xFFFD);
          }
        } else {
          flush();
          AppendUtf8(out, unit);
        }
      } else {
        size_t save = pos_;
        int saveLine = line_;
        SkipSpace();
        if (pos_ < s_.size() && s_[pos_] == '+') {
          ++pos_;
          SkipSpace();
          if (pos_ < s_.size() && (s_[pos_] == '\'' || s_[pos_] == '#')) continue;
          return Fail("expected a string after '+'");
        }
        pos_ = save;
        line_ = saveLine;
        break;
      }
    }
    flush();
    v.text = std::move(out);
    return true;
  }

  bool ParseSet(DfmValue& v) {
    v.kind = DfmValue::Kind::Set;
    ++pos_;
    if (Peek(']')) {
      ++pos_;
      return true;
    }
    for (;;) {
      std::string member;
      if (!Identifier(member)) return false;
      v.set.push_back(member);
      if (Peek(',')) {
        ++pos_;
        continue;
      }
      return Expect(']');
    }
  }

  bool ParseCollection(DfmValue& v, int depth) {
    if (depth > kMaxDepth) return Fail("values nested too deep");
    v.kind = DfmValue::Kind::Collection;
    ++pos_;
    for (;;) {
      if (Peek('>')) {
        ++pos_;
        return true;
      }
      if (!PeekWord("item")) return Fail("expected 'item' or '>'");
      pos_ += 4;
      std::vector<DfmProperty> item;
      for (;;) {
        SkipSpace();
        if (pos_ >= s_.size()) return Fail("missing 'end' of item");
        if (PeekWord("end")) {
          pos_ += 3;
          break;
        }
        DfmProperty prop;
        if (!ParseProperty(prop, depth + 1)) return false;
        item.push_back(std::move(prop));
      }
      v.items.push_back(std::move(item));
    }
  }

  const std::string& s_;
  size_t pos_ = 0;
  int line_ = 1;
  std::string error_;
};

}  // namespace

void AppendUtf8(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool ParseFormDescription(const std::string& text, DfmObject& root, std::string& error) {
  Parser parser(text);
  root = DfmObject();
  if (parser.ParseRoot(root)) return true;
  error = parser.error();
  return false;
}
