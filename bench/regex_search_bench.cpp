// The album query's work on a 1 MB page of 10,000 entries: the entry search
// and reading every entry's three groups. Also the time hostile pages cost.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <utility>

#include "bench/median_summary.h"
#include "gallery/page_patterns.h"
#include "regex/regex_object.h"

namespace vexa {
namespace {

constexpr int kEntries = 10000;
constexpr std::size_t kPageSize = 1024 * 1024;
constexpr double kEntryTargetMs = 30;
constexpr double kHostileBoundMs = 100;

// A code page 936 page of `kEntries` entry lines, each padded with Chinese
// text ("图集") to an equal share of 1 MB.
std::string MakeEntryPage() {
  const std::size_t lineSize = kPageSize / kEntries;
  std::string page;
  for (int i = 0; i < kEntries; ++i) {
    std::string line = "<li>{\"img\":\"2019/11/" + std::to_string(i % 28 + 1) + "/" +
                       std::to_string(100000 + i) + ".jpg\",\"width\":1080,\"height\":720}<p>";
    while (line.size() + 6 <= lineSize) {
      line.append("\xCD\xBC\xBC\xAF");
    }
    page.append(line).append("</p>\n");
  }
  return page;
}

// 1 MB of `block` repeated.
std::string Repeat(const std::string& block) {
  std::string page;
  while (page.size() < kPageSize) {
    page.append(block);
  }
  return page;
}

// One 1 MB line of title starts with no closing tag: one engine call that
// runs into the work limit.
std::string MakeHostilePage() { return Repeat("<h2 class=\""); }

// Lines of 3,000 bytes of title starts, each followed by a real title: many
// engine calls, each under the work limit, that run into the time limit.
std::string MakeCostlyLinesPage() {
  return Repeat(Repeat("<h2 class=\"").substr(0, 3003) + "\n<h2 class=\"a b</h2>\n");
}

void EntrySearchAndGroups(benchmark::State& state, const std::string& page) {
  for (auto _ : state) {
    RegexObject regex;
    regex.Search(EntryPattern, page, false, true);
    for (int entry = 1; entry <= regex.MatchCount(); ++entry) {
      for (int group = 1; group <= 3; ++group) {
        benchmark::DoNotOptimize(regex.SubMatchText(entry, group));
      }
    }
  }
}

void TitleSearch(benchmark::State& state, const std::string& page) {
  for (auto _ : state) {
    RegexObject regex;
    benchmark::DoNotOptimize(regex.Search(TitlePattern, page, false, true));
  }
}

}  // namespace
}  // namespace vexa

int main(int argc, char** argv) {
  const std::string entryPage = vexa::MakeEntryPage();
  const std::string hostilePage = vexa::MakeHostilePage();
  const std::string costlyLinesPage = vexa::MakeCostlyLinesPage();
  vexa::RegexObject check;
  check.Search(vexa::EntryPattern, entryPage, false, true);
  if (check.MatchCount() != vexa::kEntries) {
    std::fprintf(stderr, "the entry page gives %d matches\n", check.MatchCount());
    return 1;
  }
  benchmark::RegisterBenchmark("EntrySearchAndGroups", vexa::EntrySearchAndGroups, entryPage)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  for (const auto& [name, page] : {std::pair{"HostileTitleSearch", &hostilePage},
                                   std::pair{"CostlyLinesTitleSearch", &costlyLinesPage}}) {
    benchmark::RegisterBenchmark(name, vexa::TitleSearch, *page)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  const auto medians = vexa::bench::RunForMedians(argc, argv);
  if (medians.count("EntrySearchAndGroups") != 0) {
    std::printf("entry search and %d groups on %zu bytes: %.2f ms, %.2f of the %.0f ms target\n",
                3 * vexa::kEntries, entryPage.size(), medians.at("EntrySearchAndGroups"),
                medians.at("EntrySearchAndGroups") / vexa::kEntryTargetMs, vexa::kEntryTargetMs);
  }
  for (const char* name : {"HostileTitleSearch", "CostlyLinesTitleSearch"}) {
    if (medians.count(name) != 0) {
      std::printf("%s on 1 MB: %.2f ms, %.2f of the %.0f ms bound\n", name, medians.at(name),
                  medians.at(name) / vexa::kHostileBoundMs, vexa::kHostileBoundMs);
    }
  }
  return 0;
}
