// Utf8ToAnsi against glibc's iconv (UTF-8 to GBK) on the same 10 MB page of
// Chinese and ASCII, in one run; prints the ratio of their median times.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "bench/median_summary.h"
#include "text/page_conversion.h"

namespace vexa {
namespace {

constexpr std::size_t kPageSize = 10 * 1024 * 1024;

// Appends the UTF-8 form of a code point below U+10000.
void AppendUtf8(std::string& out, char32_t character) {
  if (character < 0x80) {
    out.push_back(static_cast<char>(character));
  } else if (character < 0x800) {
    out.push_back(static_cast<char>(0xC0 | character >> 6));
    out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | character >> 12));
    out.push_back(static_cast<char>(0x80 | (character >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
  }
}

// A UTF-8 page alternating markup and runs of CJK ideographs from
// U+4E00..U+9FA5, all of which GBK has, so iconv converts it whole.
std::string MakePage() {
  constexpr std::string_view kMarkup[] = {
      "<div class=\"item\">",
      "</div>\n",
      "<a href=\"/works/123456\">",
      "</a>",
      " ",
      "{\"img\":\"2019/11/1/x.jpg\",\"width\":1080,\"height\":720}",
      "<span>",
      "</span>"};
  std::mt19937 random(936);
  std::uniform_int_distribution<std::size_t> markup(0, std::size(kMarkup) - 1);
  std::uniform_int_distribution<int> pieces(1, 3);
  std::uniform_int_distribution<int> runLength(2, 12);
  std::uniform_int_distribution<int> ideograph(0x4E00, 0x9FA5);
  std::string page;
  while (page.size() < kPageSize) {
    for (int i = pieces(random); i > 0; --i) {
      page.append(kMarkup[markup(random)]);
    }
    for (int i = runLength(random); i > 0; --i) {
      AppendUtf8(page, static_cast<char32_t>(ideograph(random)));
    }
  }
  return page;
}

struct IconvCloser {
  void operator()(void* descriptor) const { iconv_close(descriptor); }
};

// `page` converted by glibc's iconv from UTF-8 to GBK; empty when iconv stops
// before the end.
std::string IconvToGbk(const std::string& page) {
  const iconv_t opened = iconv_open("GBK", "UTF-8");
  if (opened == reinterpret_cast<iconv_t>(-1)) {
    return {};
  }
  const std::unique_ptr<void, IconvCloser> descriptor(opened);
  std::string out(page.size(), '\0');
  char* in = const_cast<char*>(page.data());
  std::size_t inLeft = page.size();
  char* target = out.data();
  std::size_t outLeft = out.size();
  if (iconv(descriptor.get(), &in, &inLeft, &target, &outLeft) == static_cast<std::size_t>(-1)) {
    return {};
  }
  out.resize(out.size() - outLeft);
  return out;
}

template <typename Convert>
void RegisterConversion(const char* name, const std::string& page, Convert convert) {
  benchmark::RegisterBenchmark(
      name,
      [&page, convert](benchmark::State& state) {
        for (auto _ : state) {
          benchmark::DoNotOptimize(convert(page));
        }
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
      })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
}

}  // namespace
}  // namespace vexa

int main(int argc, char** argv) {
  const std::string page = vexa::MakePage();
  const std::string expected = vexa::IconvToGbk(page);
  if (expected.empty() || vexa::Utf8ToAnsi(page) != expected) {
    std::fprintf(stderr, "Utf8ToAnsi and iconv disagree on the page\n");
    return 1;
  }
  vexa::RegisterConversion("Utf8ToAnsi", page,
                           [](const std::string& p) { return vexa::Utf8ToAnsi(p); });
  vexa::RegisterConversion("IconvUtf8ToGbk", page,
                           [](const std::string& p) { return vexa::IconvToGbk(p); });
  const auto medians = vexa::bench::RunForMedians(argc, argv);
  if (medians.count("Utf8ToAnsi") != 0 && medians.count("IconvUtf8ToGbk") != 0) {
    std::printf(
        "page of %zu bytes: Utf8ToAnsi %.2f ms, iconv %.2f ms, ratio %.2f (target <= 1.0)\n",
        page.size(), medians.at("Utf8ToAnsi"), medians.at("IconvUtf8ToGbk"),
        medians.at("Utf8ToAnsi") / medians.at("IconvUtf8ToGbk"));
  }
  return 0;
}
