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
      break;  // the first one set decides, as for setlocale()
    }
    if (!locale_) locale_ = newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, "C", nullptr);
    const char* codeset = nl_langinfo_l(CODESET, locale_);
    utf8_ = codeset && std::strcmp(codeset, "UTF-8") == 0;
  }
  ~Collator() { freelocale(locale_); }

  int Compare(const char* a, size_t la, const char* b, size_t lb, bool ignoreCase) const {
    if (!utf8_) return CompareBytes(a, la, b, lb, ignoreCase);
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

  // Decodes UTF-8 into `out`. A byte that does not start a valid sequence
  // becomes U+DC80 + byte, as many tools do, so that any bytes compare in
  // one fixed way. A NUL byte ends the text, as it would for wcscoll.
  void Widen(const char* s, size_t n, bool fold, std::wstring& out) const {
    out.clear();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s);
    size_t i = 0;
    while (i < n && p[i]) {
      unsigned c = p[i];
      unsigned cp;
      size_t len;
      if (c < 0x80) {
        cp = c;
        len = 1;
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
        len = 0;
      }
      if (len > 1) {
        bool ok = i + len <= n;
        for (size_t k = 1; ok && k < len; ++k) {
          if ((p[i + k] & 0xC0) != 0x80) ok = false;
          else cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are invalid.
        if (ok && ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
                   (cp >= 0xD800 && cp <= 0xDFFF)))
          ok = false;
        if (!ok) {
          cp = 0xDC00 + c;
          len = 0;
        }
      }
      if (len == 0) {
        out += static_cast<wchar_t>(cp);
        ++i;
        continue;
      }
      out += static_cast<wchar_t>(fold ? towlower_l(static_cast<wint_t>(cp), locale_) : cp);
      i += len;
    }
  }

  locale_t locale_ = nullptr;
  bool utf8_ = false;
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
