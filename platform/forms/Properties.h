// Reading typed values out of form description properties.
#pragma once

#include <string>

#include <any>

#include "platform/forms/FormDescription.h"
#include "platform/forms/Forms.h"

namespace dfm {

inline std::string Where(const DfmProperty& p) { return "line " + std::to_string(p.line) + ": " + p.name + ": "; }

inline bool Int(const DfmProperty& p, int& out, std::string& error) {
  if (p.value.kind != DfmValue::Kind::Integer) {
    error = Where(p) + "expected a number";
    return false;
  }
  out = static_cast<int>(p.value.integer);
  return true;
}

inline bool Bool(const DfmProperty& p, bool& out, std::string& error) {
  if (p.value.kind == DfmValue::Kind::Identifier && (p.value.text == "True" || p.value.text == "False")) {
    out = p.value.text == "True";
    return true;
  }
  error = Where(p) + "expected True or False";
  return false;
}

inline bool String(const DfmProperty& p, std::string& out, std::string& error) {
  if (p.value.kind != DfmValue::Kind::String) {
    error = Where(p) + "expected a string";
    return false;
  }
  out = p.value.text;
  return true;
}

// An identifier out of `choices` (null-terminated); `index` gets its position.
inline bool OneOf(const DfmProperty& p, const char* const* choices, int& index, std::string& error) {
  if (p.value.kind == DfmValue::Kind::Identifier) {
    for (int i = 0; choices[i]; ++i) {
      if (p.value.text == choices[i]) {
        index = i;
        return true;
      }
    }
  }
  error = Where(p) + "unsupported value";
  return false;
}

// Binds the handler a property names to `slot`, which must have exactly
// the handler's type.
template <class Handler>
bool Event(const DfmProperty& p, const TEventSource& events, Handler& slot, std::string& error) {
  if (p.value.kind != DfmValue::Kind::Identifier) {
    error = Where(p) + "expected a handler name";
    return false;
  }
  std::any found = events.Find(p.value.text, error);
  if (!found.has_value()) {
    error = Where(p) + error;
    return false;
  }
  auto* typed = std::any_cast<Handler>(&found);
  if (!typed) {
    error = Where(p) + "handler " + p.value.text + " has the wrong parameters for this event";
    return false;
  }
  slot = *typed;
  return true;
}

}  // namespace dfm
