// CompareStringA builds its collator once per process, from the locale in
// the environment; each case runs in a child process of its own.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/winapi/Kernel.h"
#include "tests/support/TempDir.h"

using namespace testsupport;

namespace {

int Compare(const std::string& a, const std::string& b, DWORD flags = NORM_IGNORECASE) {
  return CompareStringA(LOCALE_USER_DEFAULT, flags, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size()));
}

// Runs `check` in a child with exactly these locale variables set.
int InLocale(const char* lcAll, const char* lcCollate, const char* lang, const std::function<bool()>& check) {
  return RunInChild(geteuid(), [&] {
    for (auto [name, value] : {std::pair{"LC_ALL", lcAll}, {"LC_COLLATE", lcCollate}, {"LANG", lang}}) {
      if (value)
        setenv(name, value, 1);
      else
        unsetenv(name);
    }
    return check() ? 0 : 1;
  });
}

TEST(CompareString, PlainCaseInsensitiveOrderInTheCLocale) {
  EXPECT_EQ(InLocale("C", nullptr, nullptr, [] {
              return Compare("a", "B") == CSTR_LESS_THAN && Compare("B", "a") == CSTR_GREATER_THAN &&
                     Compare("ABC", "abc") == CSTR_EQUAL && Compare("ABC", "abc", 0) == CSTR_LESS_THAN &&
                     Compare("a", "ab") == CSTR_LESS_THAN && Compare("", "") == CSTR_EQUAL &&
                     // Bytes past ASCII are not letters here: no folding.
                     Compare("\xc3\x84", "\xc3\xa4") == CSTR_LESS_THAN;
            }),
            0);
}

TEST(CompareString, LocaleComesFromLcAllThenLcCollateThenLang) {
  // "Ä" and "ä" are equal ignoring case only where the locale knows UTF-8.
  auto foldsUmlaut = [] { return Compare("\xc3\x84", "\xc3\xa4") == CSTR_EQUAL; };
  EXPECT_EQ(InLocale(nullptr, nullptr, "C.UTF-8", foldsUmlaut), 0);
  EXPECT_EQ(InLocale("C", nullptr, "C.UTF-8", foldsUmlaut), 1);
  EXPECT_EQ(InLocale(nullptr, "C", "C.UTF-8", foldsUmlaut), 1);
  EXPECT_EQ(InLocale(nullptr, "C.UTF-8", "C", foldsUmlaut), 0);
  EXPECT_EQ(InLocale("xx_NOWHERE.UTF-8", nullptr, "C.UTF-8", foldsUmlaut), 1);  // unknown: the C locale
  EXPECT_EQ(InLocale(nullptr, nullptr, nullptr, foldsUmlaut), 1);
}

TEST(CompareString, LengthsAreHonouredAndInvalidBytesOrderOneFixedWay) {
  EXPECT_EQ(InLocale(nullptr, nullptr, "C.UTF-8", [] {
              const char a[] = "abcX", b[] = "abcY";
              if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, 3, b, 3) != CSTR_EQUAL) return false;
              if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, -1, b, -1) != CSTR_LESS_THAN) return false;
              // A mix of valid and invalid UTF-8 must still be a consistent order.
              std::vector<std::string> s{"\xff", "a\xff", "A\xfe", "\xc3", "\xc3\xa4", "z", "\xe6\x97\xa5", "",
                                         "\xed\xa0\x80", "\xc0\xaf", "ab", "\xf4\x90\x80\x80"};
              std::stable_sort(s.begin(), s.end(), [](auto& x, auto& y) { return Compare(x, y) == CSTR_LESS_THAN; });
              for (size_t i = 0; i < s.size(); ++i) {
                if (Compare(s[i], s[i]) != CSTR_EQUAL) return false;
                for (size_t j = i + 1; j < s.size(); ++j) {
                  if (Compare(s[i], s[j]) == CSTR_GREATER_THAN) return false;
                  if (Compare(s[i], s[j]) != 4 - Compare(s[j], s[i])) return false;
                }
              }
              return true;
            }),
            0);
}

}  // namespace
