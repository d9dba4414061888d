#include "extraction/cookie_store.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorix {
namespace {

using namespace std::chrono;

constexpr CookieTime at(int y, unsigned m, unsigned d, int h, int min, int s) {
  return CookieTime{sys_days{year{y} / month{m} / day{d}}} + hours{h} + minutes{min} + seconds{s};
}

struct DateCase {
  std::string text;
  std::optional<CookieTime> time;
};

class CookieDate : public ::testing::TestWithParam<DateCase> {};

TEST_P(CookieDate, IsReadInTheFormsServersUse) { EXPECT_EQ(parse_cookie_date(GetParam().text), GetParam().time); }

INSTANTIATE_TEST_SUITE_P(
    Forms, CookieDate,
    ::testing::Values(DateCase{"Sun, 06 Nov 1994 08:49:37 GMT", at(1994, 11, 6, 8, 49, 37)},
                      DateCase{"Sunday, 06-Nov-94 08:49:37 GMT", at(1994, 11, 6, 8, 49, 37)},
                      DateCase{"Sun Nov  6 08:49:37 1994", at(1994, 11, 6, 8, 49, 37)},
                      DateCase{"Thu, 01-Jan-2037 00:00:01 GMT", at(2037, 1, 1, 0, 0, 1)},
                      DateCase{"Wed, 09 jun 21 10:18:14 gmt", at(2021, 6, 9, 10, 18, 14)},
                      DateCase{"Fri, 31 Dec 9999 23:59:59 GMT", at(9999, 12, 31, 23, 59, 59)},
                      DateCase{"Mon, 30 Feb 2015 10:00:00 GMT", std::nullopt},
                      DateCase{"Mon, 01 Feb 2015 24:00:00 GMT", std::nullopt},
                      DateCase{"Mon, 01 2015 10:00:00 GMT", std::nullopt},
                      DateCase{"tomorrow", std::nullopt},
                      DateCase{"", std::nullopt}));

constexpr CookieTime now = at(2025, 3, 1, 12, 0, 0);
constexpr const char* host = "api.example.com";

struct StoreCase {
  const char* name;
  std::vector<std::string> set_cookies;  // in the order the answers set them
  std::string sent;                      // the cookie list for the next request
};

class CookieList : public ::testing::TestWithParam<StoreCase> {};

TEST_P(CookieList, HoldsWhatTheServerSetAndSendsWhatIsMeantForTheApi) {
  CookieStore store;
  for (const std::string& set_cookie : GetParam().set_cookies) store.take(set_cookie, host, now);
  EXPECT_EQ(store.cookie_list(host, "/method/", now), GetParam().sent);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CookieList,
    ::testing::Values(
        StoreCase{"RootPath", {"a=1; path=/"}, "a=1"},
        StoreCase{"NoPathIsNeverSent", {"a=1"}, ""},
        StoreCase{"FolderItself", {"a=1; Path=/method/"}, "a=1"},
        StoreCase{"PathPrefix", {"a=1; path=/meth"}, "a=1"},
        StoreCase{"DeeperPath", {"a=1; path=/method/groups"}, ""},
        StoreCase{"OtherFolder", {"a=1; path=/other"}, ""},
        StoreCase{"Secure", {"a=1; path=/; secure"}, ""},
        StoreCase{"EmptyValue", {"a=; path=/"}, ""},
        StoreCase{"NoEqualsSign", {"a; path=/"}, ""},
        StoreCase{"BlanksTrimmed", {"  a = 1 ;  path = / "}, "a=1"},
        StoreCase{"LongerPathFirst", {"a=1; path=/", "b=2; path=/method/", "c=3; path=/method"}, "b=2; c=3; a=1"},
        StoreCase{"SameNameReplaced", {"a=1; path=/", "a=2; path=/method"}, "a=2"},
        StoreCase{"SameNameOtherDomainKept", {"a=1; path=/", "a=2; path=/; domain=example.com"}, "a=1; a=2"},
        StoreCase{"ParentDomain", {"a=1; path=/; domain=.example.com"}, "a=1"},
        StoreCase{"ForeignDomainDropped", {"a=1; path=/; domain=other.com"}, ""},
        StoreCase{"SuffixIsNotADomain", {"a=1; path=/; domain=ple.com"}, ""},
        StoreCase{"SubdomainOfHostDropped", {"a=1; path=/; domain=x.api.example.com"}, ""},
        StoreCase{"DomainInCapitals", {"a=1; path=/; domain=API.Example.COM"}, "a=1"},
        StoreCase{"QuotedAttributes", {"a=\"1\"; Path=\"/\"; Domain=\".example.com\""}, "a=\"1\""},
        StoreCase{"ExpiredDate", {"a=1; path=/; expires=Sun, 06 Nov 1994 08:49:37 GMT"}, ""},
        StoreCase{"FutureDate", {"a=1; path=/; expires=Thu, 01-Jan-2037 00:00:01 GMT"}, "a=1"},
        StoreCase{"UnreadableDateKeepsCookie", {"a=1; path=/; expires=soon"}, "a=1"},
        StoreCase{"ExpiredReplacementDeletes", {"a=1; path=/", "a=x; path=/; expires=Sun, 06 Nov 1994 08:49:37 GMT"}, ""},
        StoreCase{"MaxAgeZero", {"a=1; path=/; max-age=0"}, ""},
        StoreCase{"MaxAgeOverDate", {"a=1; path=/; max-age=60; expires=Sun, 06 Nov 1994 08:49:37 GMT"}, "a=1"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(CookieStore, DropsACookieOnceItsTimeHasPassed) {
  CookieStore store;
  store.take("a=1; path=/; max-age=60", host, now);
  EXPECT_EQ(store.cookie_list(host, "/method/", now + seconds{59}), "a=1");
  EXPECT_EQ(store.cookie_list(host, "/method/", now + seconds{60}), "");
  EXPECT_EQ(store.size(), 0u);
}

TEST(CookieStore, StaysBoundedWhateverTheServerSets) {
  CookieStore store;
  for (int i = 0; i < 1000; ++i) store.take("c" + std::to_string(i) + "=1; path=/", host, now);
  EXPECT_LT(store.size(), 1000u);
  EXPECT_NE(store.cookie_list(host, "/method/", now).find("c999=1"), std::string::npos);
}

}  // namespace
}  // namespace quorix
