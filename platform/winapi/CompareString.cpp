#include <langinfo.h>
#include <locale.h>
#include <wchar.h>
#include <wctype.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/winapi/Kernel.h"

namespace {

// The user's collation, built once: the first of LC_ALL, LC_COLLATE and
// LANG that names a locale this system has, else the C locale.
class Collator {
 public:
  Collator() {
    for (const char* var : {"LC_ALL", "LC_COLLATE", "LANG"}) {
      const char* name = std::getenv(var);
      if (!name || !*name) continue;
      locale_ = newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, name, nullptr);
      if (locale_) name_ = name;
      break;  // the first one set decides, as for setlocale()
    }
    if (!locale_) locale_ = newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, "C", nullptr);
    const char* codeset = nl_langinfo_l(CODESET, locale_);
    utf8_ = codeset && std::strcmp(codeset, "UTF-8") == 0;
    // C.UTF-8 collates by code point: texts can then be compared as they
    // are decoded, stopping at the first difference.
    codepointOrder_ = utf8_ && (name_.rfind("C.", 0) == 0 || name_.rfind("POSIX.", 0) == 0);
    for (unsigned c = 0; c < 128; ++c) asciiLower_[c] = static_cast<wchar_t>(towlower_l(c, locale_));
  }
  ~Collator() { freelocale(locale_); }

  int Compare(const char* a, size_t la, const char* b, size_t lb, bool ignoreCase) const {
    if (!utf8_) return CompareBytes(a, la, b, lb, ignoreCase);
    if (codepointOrder_) return CompareCodepoints(a, la, b, lb, ignoreCase);
    thread_local std::wstring wa, wb;
    Widen(a, la, ignoreCase, wa);
    Widen(b, lb, ignoreCase, wb);
    int r = wcscoll_l(wa.c_str(), wb.c_str(), locale_);
    return r < 0 ? -1 : r > 0 ? 1 : 0;
  }

 private:
  // Plain byte order, ASCII letters folded: the C locale's collation.
  static int CompareBytes(const char* a, size_t la, const char* b, size_t lb, bool ignoreCase) {
    const size_t n = la < lb ? la : lb;
    for (size_t i = 0; i < n; ++i) {
      unsigned char ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
      if (ignoreCase) {
        if (ca >= 'A' && ca <= 'Z') ca += 32;
        if (cb >= 'A' && cb <= 'Z') cb += 32;
      }
      if (ca != cb) return ca < cb ? -1 : 1;
    }
    return la < lb ? -1 : la > lb ? 1 : 0;
  }

  // Code point order, folding as it goes.
  int CompareCodepoints(const char* a, size_t la, const char* b, size_t lb, bool fold) const {
    const unsigned char* pa = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* pb = reinterpret_cast<const unsigned char*>(b);
    size_t i = 0, j = 0;
    for (;;) {
      const bool endA = i >= la || pa[i] == 0, endB = j >= lb || pb[j] == 0;
      if (endA || endB) return endA && endB ? 0 : endA ? -1 : 1;
      wchar_t ca, cb;
      if (pa[i] < 0x80 && pb[j] < 0x80) {  // the common case: ASCII on both sides
        ca = fold ? asciiLower_[pa[i]] : pa[i];
        cb = fold ? asciiLower_[pb[j]] : pb[j];
        ++i;
        ++j;
      } else {
        ca = Next(pa, la, i, fold);
        cb = Next(pb, lb, j, fold);
      }
      if (ca != cb) return ca < cb ? -1 : 1;
    }
  }

  // The character at p[i], folded if asked, and steps past it.
  wchar_t Next(const unsigned char* p, size_t n, size_t& i, bool fold) const {
    unsigned cp;
    size_t len = Decode(p, n, i, cp);
    i += len ? len : 1;
    if (len == 0) return static_cast<wchar_t>(cp);  // an invalid byte is never folded
    if (cp < 128) return fold ? asciiLower_[cp] : static_cast<wchar_t>(cp);
    return static_cast<wchar_t>(fold ? towlower_l(static_cast<wint_t>(cp), locale_) : cp);
  }

  // Decodes the UTF-8 sequence at p[i] into `cp` and returns its length,
  // or 0 with cp = U+DC00 + byte when p[i] starts no valid sequence.
  static size_t Decode(const unsigned char* p, size_t n, size_t i, unsigned& cp) {
    const unsigned c = p[i];
    size_t len;
    if (c < 0x80) {
      cp = c;
      return 1;
    } else if (c >= 0xC2 && c <= 0xDF) {
      cp = c & 0x1F;
      len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      cp = c & 0x0F;
      len = 3;
    } else if (c >= 0xF0 && c <= 0xF4) {
      cp = c & 0x07;
      len = 4;
    } else {
      cp = 0xDC00 + c;
      return 0;
    }
    bool ok = i + len <= n;
    for (size_t k = 1; ok && k < len; ++k) {
      if ((p[i + k] & 0xC0) != 0x80)
        ok = false;
      else
        cp = (cp << 6) | (p[i + k] & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are invalid.
    if (ok && ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
               (cp >= 0xD800 && cp <= 0xDFFF)))
      ok = false;
    if (!ok) {
      cp = 0xDC00 + c;
      return 0;
    }
    return len;
  }

  // Decodes UTF-8 into `out`. A byte that does not start a valid sequence
  // becomes U+DC80 + byte, as many tools do, so that any bytes compare in
  // one fixed way. A NUL byte ends the text, as it would for wcscoll.
  void Widen(const char* s, size_t n, bool fold, std::wstring& out) const {
    out.clear();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s);
    size_t i = 0;
    while (i < n && p[i]) out += Next(p, n, i, fold);
  }

  locale_t locale_ = nullptr;
  bool utf8_ = false;
  std::string name_ = "C";
  bool codepointOrder_ = false;
  wchar_t asciiLower_[128];
};

const Collator& UserCollator() {
  static const Collator collator;
  return collator;
}

}  // namespace

int CompareStringA(LCID Locale, DWORD dwCmpFlags, LPCSTR lpString1, int cchCount1, LPCSTR lpString2,
                   int cchCount2) {
  (void)Locale;  // every locale is the user's on this platform
  if (!lpString1 || !lpString2) return 0;
  const size_t n1 = cchCount1 < 0 ? std::strlen(lpString1) : static_cast<size_t>(cchCount1);
  const size_t n2 = cchCount2 < 0 ? std::strlen(lpString2) : static_cast<size_t>(cchCount2);
  const int r = UserCollator().Compare(lpString1, n1, lpString2, n2, (dwCmpFlags & NORM_IGNORECASE) != 0);
  return CSTR_EQUAL + r;
}
