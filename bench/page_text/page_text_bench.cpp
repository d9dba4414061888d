// Page text reading on a realistic page of 1000 members with Cyrillic names,
// against one memchr pass over the same bytes (the floor) and std::regex.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <regex>
#include <string>

#include "extraction/page_text.h"

namespace {

std::string make_answer(int members) {
  constexpr std::array<const char*, 8> first_names = {"Анна", "Иван", "Мария", "Сергей",
                                                      "Екатерина", "Дмитрий", "Ольга", "Алексей"};
  constexpr std::array<const char*, 8> last_names = {"Петрова", "Иванов", "Смирнова", "Кузнецов",
                                                     "Попова", "Соколов", "Лебедева", "Новиков"};
  std::uint32_t state = 12345;
  const auto next = [&state] {
    state = state * 1103515245u + 12345u;
    return state >> 8;
  };
  std::string answer = R"({"response":{"count":)" + std::to_string(members) + R"(,"users":[)";
  for (int i = 0; i < members; ++i) {
    if (i > 0) answer += ',';
    answer += R"({"uid":)" + std::to_string(1000000 + next() % 90000000);
    answer += R"(,"first_name":")" + std::string(first_names[next() % first_names.size()]);
    answer += R"(","last_name":")" + std::string(last_names[next() % last_names.size()]);
    answer += R"(","sex":)" + std::to_string(1 + next() % 2) + "}";
  }
  return answer + "]}}";
}

const std::string& answer() {
  static const std::string text = make_answer(1000);
  return text;
}

const std::string& page_text() {
  static const std::string text = quorix::convert_answer(answer());
  return text;
}

// The floors: one pass that looks for a byte, or a delimiter, found nowhere.
void memchr_pass(benchmark::State& state, const std::string& bytes) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::memchr(bytes.data(), '\x01', bytes.size()));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void memmem_pass(benchmark::State& state, const std::string& bytes) {
  constexpr std::string_view absent = R"(","middle_name":")";
  for (auto _ : state) {
    benchmark::DoNotOptimize(memmem(bytes.data(), bytes.size(), absent.data(), absent.size()));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_MemchrPageText(benchmark::State& state) { memchr_pass(state, page_text()); }
void BM_MemmemPageText(benchmark::State& state) { memmem_pass(state, page_text()); }
void BM_MemchrAnswer(benchmark::State& state) { memchr_pass(state, answer()); }

void BM_MemberLines(benchmark::State& state) {
  std::string lines;
  for (auto _ : state) {
    lines.clear();
    quorix::MemberScanner scanner(page_text());
    quorix::MemberFields fields;
    while (scanner.next(fields)) {
      quorix::append_member_line(lines, fields);
      lines += "\r\n";
    }
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page_text().size()));
}

void BM_MemberCount(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(quorix::member_count(page_text()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page_text().size()));
}

void BM_ConvertAnswer(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(quorix::convert_answer(answer()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * answer().size()));
}

// The same member pattern on std::regex, "." spelled [\s\S] so that it also
// matches line breaks.
void BM_StdRegexMemberLines(benchmark::State& state) {
  try {
    const std::regex pattern(R"re(uid":([\s\S]*?),"first_name":"([\s\S]*?)","last_name":"([\s\S]*?)")re");
    std::string lines;
    for (auto _ : state) {
      lines.clear();
      for (std::sregex_iterator it(page_text().begin(), page_text().end(), pattern), end; it != end; ++it) {
        lines.append((*it)[1].first, (*it)[1].second).append(1, ';');
        lines.append((*it)[2].first, (*it)[2].second).append(1, ';');
        lines.append((*it)[3].first, (*it)[3].second).append(";\r\n");
      }
      benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page_text().size()));
  } catch (const std::regex_error& error) {
    state.SkipWithError(error.what());
  }
}

BENCHMARK(BM_MemchrPageText);
BENCHMARK(BM_MemmemPageText);
BENCHMARK(BM_MemchrAnswer);
BENCHMARK(BM_MemberLines);
BENCHMARK(BM_MemberCount);
BENCHMARK(BM_ConvertAnswer);
BENCHMARK(BM_StdRegexMemberLines);

// Keeps each benchmark's rate so that the ratios to the floor can be printed.
class RateReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const auto& run : runs) {
      const auto rate = run.counters.find("bytes_per_second");
      if (!run.error_occurred && rate != run.counters.end()) rates[run.benchmark_name()] = rate->second;
    }
  }
  std::map<std::string, double> rates;
};

void print_ratio(const RateReporter& reporter, const char* name, const char* floor_name) {
  const auto rate = reporter.rates.find(name);
  const auto floor = reporter.rates.find(floor_name);
  if (rate == reporter.rates.end() || floor == reporter.rates.end()) return;
  std::printf("%-24s %9.1f MB/s, %8.2fx the time of %s\n", name, rate->second / 1e6,
              floor->second / rate->second, floor_name);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::printf("page: %zu answer bytes, %zu page text bytes, 1000 members\n", answer().size(),
              page_text().size());
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const char* floor : {"BM_MemchrPageText", "BM_MemmemPageText"}) {
    print_ratio(reporter, "BM_MemberLines", floor);
    print_ratio(reporter, "BM_MemberCount", floor);
    print_ratio(reporter, "BM_StdRegexMemberLines", floor);
  }
  print_ratio(reporter, "BM_ConvertAnswer", "BM_MemchrAnswer");
  benchmark::Shutdown();
}
