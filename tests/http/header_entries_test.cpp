#include "http/header_entries.h"

#include <gtest/gtest.h>

#include "tests/support/case_name.h"

namespace vexa {
namespace {

const TextList kAlways = {"Accept:", "Content-Type:", "Expect:", "Proxy-Connection:"};

TextList Entries(const Text& block, const TextList& extra = {}) {
  TextList entries = {block};
  entries.insert(entries.end(), kAlways.begin(), kAlways.end());
  entries.insert(entries.end(), extra.begin(), extra.end());
  return entries;
}

struct EntriesCase {
  const char* name;
  Text headers;
  TextList entries;
};

class CurlHeaderEntriesTest : public testing::TestWithParam<EntriesCase> {};

TEST_P(CurlHeaderEntriesTest, OneVerbatimBlockBehindTheHostLine) {
  EXPECT_EQ(CurlHeaderEntries("h.example:81", GetParam().headers), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CurlHeaderEntriesTest,
    testing::Values(
        EntriesCase{"Empty", "", Entries("Host: h.example:81")},
        EntriesCase{"Lines", "A: 1\r\nB:2", Entries("Host: h.example:81\r\nA: 1\r\nB:2")},
        EntriesCase{"NameWithNothingAfterKept", "X-Empty:\r\nBlank:   ",
                    Entries("Host: h.example:81\r\nX-Empty:\r\nBlank:   ")},
        EntriesCase{"LinesWithoutNameKept", "no colon\r\n:v",
                    Entries("Host: h.example:81\r\nno colon\r\n:v")},
        EntriesCase{"EmptyLinesLeftOut", "\r\nA: 1\r\n\r\nB: 2\r\n",
                    Entries("Host: h.example:81\r\nA: 1\r\nB: 2")},
        EntriesCase{"OwnAgentKeepsLibcurlsOut", "user-agent: me",
                    Entries("Host: h.example:81\r\nuser-agent: me", {"User-Agent:"})},
        EntriesCase{"AgentOnlyInAValue", "X: User-Agent: me",
                    Entries("Host: h.example:81\r\nX: User-Agent: me")},
        EntriesCase{"OwnLengthKeepsLibcurlsOut", "Content-Length: 3",
                    Entries("Host: h.example:81\r\nContent-Length: 3", {"Content-Length:"})}),
    testing_support::CaseName());

}  // namespace
}  // namespace vexa
