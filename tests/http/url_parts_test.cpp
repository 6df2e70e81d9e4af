#include "http/url_parts.h"

#include <gtest/gtest.h>

#include "tests/support/case_name.h"

#include <climits>
#include <optional>
#include <string>

namespace vexa {
namespace {

struct AddressCase {
  const char* name;
  std::string address;
  std::string host;
  std::string hostWithPort;
  int port;
  std::string path;
};

class AddressPartsTest : public testing::TestWithParam<AddressCase> {};

TEST_P(AddressPartsTest, TakesHostPortAndPath) {
  const AddressCase& row = GetParam();
  EXPECT_EQ(UrlHost(row.address), row.host);
  EXPECT_EQ(UrlHost(row.address, false, true), row.hostWithPort);
  EXPECT_EQ(UrlPort(row.address), row.port);
  EXPECT_EQ(UrlPath(row.address), row.path);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, AddressPartsTest,
    testing::Values(
        AddressCase{"HttpWithPortAndQuery", "http://example.com:8080/a/b?c", "example.com",
                    "example.com:8080", 8080, "/a/b?c"},
        AddressCase{"HttpsMixedCase", "https://Example.COM/Path/X.jpg", "example.com",
                    "example.com", 443, "/Path/X.jpg"},
        AddressCase{"NoScheme", "example.com/a", "example.com", "example.com", 80, "/a"},
        AddressCase{"NoSchemeWithPort", "example.com:81", "example.com", "example.com:81", 81, "/"},
        AddressCase{"UpperCaseHttpsWithPort", "HTTPS://a.b.example.com:443", "a.b.example.com",
                    "a.b.example.com:443", 443, "/"},
        AddressCase{"HttpsWithoutPath", "https://example.com", "example.com", "example.com", 443,
                    "/"},
        AddressCase{"QueryRightAfterHost", "http://example.com?x=1", "example.com?x=1",
                    "example.com?x=1", 80, "/"},
        AddressCase{"ColonWithoutDigits", "http://example.com:/x", "example.com", "example.com:", 0,
                    "/x"},
        AddressCase{"Empty", "", "", "", 80, "/"}),
    testing_support::CaseName());

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, AddressPartsTest,
    testing::Values(AddressCase{"HttpCountsAnywhere", "example.com/?u=HTTP://Other.example/z",
                                "other.example", "other.example", 80, "/z"},
                    AddressCase{"HttpsCountsOnlyAtStart", "x.example/https://y.example/z",
                                "x.example", "x.example", 80, "/https://y.example/z"},
                    AddressCase{"OtherSchemeIsPartOfTheHost", "ftp://example.com/x", "ftp",
                                "ftp:", 0, "//example.com/x"},
                    AddressCase{"HttpsPrefixWithoutSchemeGets443", "httpsite.example/x",
                                "httpsite.example", "httpsite.example", 443, "/x"},
                    AddressCase{"SchemeAlone", "https://", "", "", 443, "//"},
                    // "８１" in full-width digits.
                    AddressCase{"FullWidthDigitsInPort", "http://example.com:\xA3\xB8\xA3\xB1/x",
                                "example.com", "example.com:\xA3\xB8\xA3\xB1", 81, "/x"},
                    // 8, a full-width "０", then a letter that ends the digits.
                    AddressCase{"MixedDigitsStopAtOtherByte", "http://example.com:8\xA3\xB0x9/",
                                "example.com", "example.com:8\xA3\xB0x9", 80, "/"},
                    AddressCase{"PortAfterBlanksAndSign", "http://example.com: \t+82/",
                                "example.com", "example.com: \t+82", 82, "/"},
                    AddressCase{"NegativePort", "http://example.com:-5/", "example.com",
                                "example.com:-5", -5, "/"},
                    AddressCase{"PortAfterLastColonHostBeforeFirst",
                                "http://user:pw@example.com:82/", "user", "user:pw@example.com:82",
                                82, "/"},
                    AddressCase{"HugePortSaturates", "http://example.com:99999999999999999999/",
                                "example.com", "example.com:99999999999999999999", INT_MAX, "/"},
                    AddressCase{"HugeNegativePortSaturates",
                                "http://example.com:-99999999999999999999/", "example.com",
                                "example.com:-99999999999999999999", INT_MIN, "/"},
                    // 0xD5 0x41: the second byte is the letter A and must not be lower-cased.
                    AddressCase{"SecondBytesKeepTheirCase", "HTTP://\xD5\x41.Example/P",
                                "\xD5\x41.example", "\xD5\x41.example", 80, "/P"}),
    testing_support::CaseName());

// The shortening options, all applied to one address.
constexpr const char* kLabelledAddress = "https://a.b.example.com:8080/x";

struct ShorteningCase {
  const char* name;
  std::optional<int> suffixLabels;
  std::string neither;
  std::string domainOnly;
  std::string domainOnlyKeepPort;
  std::string keepPort;
};

class HostShorteningTest : public testing::TestWithParam<ShorteningCase> {};

TEST_P(HostShorteningTest, KeepsTheLastLabels) {
  const ShorteningCase& row = GetParam();
  EXPECT_EQ(UrlHost(kLabelledAddress, false, false, row.suffixLabels), row.neither);
  EXPECT_EQ(UrlHost(kLabelledAddress, true, false, row.suffixLabels), row.domainOnly);
  EXPECT_EQ(UrlHost(kLabelledAddress, true, true, row.suffixLabels), row.domainOnlyKeepPort);
  EXPECT_EQ(UrlHost(kLabelledAddress, false, true, row.suffixLabels), row.keepPort);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, HostShorteningTest,
    testing::Values(ShorteningCase{"Omitted", std::nullopt, "a.b.example.com", "example.com",
                                   "example.com:8080", "a.b.example.com:8080"},
                    ShorteningCase{"Zero", 0, "example.com", "com", "com:8080", "example.com:8080"},
                    ShorteningCase{"Negative", -3, "example.com", "com", "com:8080",
                                   "example.com:8080"},
                    ShorteningCase{"One", 1, "b.example.com", "example.com", "example.com:8080",
                                   "b.example.com:8080"},
                    ShorteningCase{"Two", 2, "a.b.example.com", "b.example.com",
                                   "b.example.com:8080", "a.b.example.com:8080"},
                    ShorteningCase{"Three", 3, "a.b.example.com", "a.b.example.com",
                                   "a.b.example.com:8080", "a.b.example.com:8080"},
                    ShorteningCase{"Huge", INT_MAX, "a.b.example.com", "a.b.example.com",
                                   "a.b.example.com:8080", "a.b.example.com:8080"}),
    testing_support::CaseName());

TEST(UrlHostTest, SuffixModeNeverCountsAFinalDot) {
  EXPECT_EQ(UrlHost("example.com.", false, false, 0), "example.com.");
  EXPECT_EQ(UrlHost("example.com.", true, false, 0), "com.");
  EXPECT_EQ(UrlHost("http://www.example.com./", false, false, 0), "example.com.");
}

TEST(UrlHostTest, SuffixModeRemovesSchemesAnywhere) {
  EXPECT_EQ(UrlHost("x.HTTP://www.example.com/y", false, false, 5), "x.www.example.com");
  EXPECT_EQ(UrlHost("www.https://example.com", false, false, 5), "www.example.com");
}

TEST(UrlHostTest, SuffixModeWithoutDotsOrText) {
  EXPECT_EQ(UrlHost("http://localhost:8080/", true, false, 0), "localhost");
  EXPECT_EQ(UrlHost("", true, true, 1), "");
  EXPECT_EQ(UrlHost("", false, false, 0), "");
}

TEST(UrlHostTest, PlainDomainOnlyKeepsTheLastTwoLabels) {
  EXPECT_EQ(UrlHost("http://localhost:8080/", true), "localhost");
  EXPECT_EQ(UrlHost("http://a.b.example.com./", true), "example.com");
  EXPECT_EQ(UrlHost("http://x.example.com:81/", true, true), "example.com:81");
}

}  // namespace
}  // namespace vexa
