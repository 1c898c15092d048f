// The row order of a schedule of 10 000 marks selected in reverse: numbered 1 to 10 000 (goal:
// within one second), and lot numbers such as "12-3" among plain numbers, on which natural order
// is not transitive and the bubble sort itself decides the order.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "schedule/mark_order.h"

namespace {

constexpr int kMarks = 10'000;
constexpr int kLotsPerBlock = 20;

std::vector<std::u16string> Numbers(bool lotNumbers) {
  std::vector<std::u16string> numbers;
  for (int mark = kMarks; mark > 0; --mark) {
    const bool lot = lotNumbers && mark % kLotsPerBlock != 0;
    std::string number =
        lot ? std::to_string(mark / kLotsPerBlock) + "-" + std::to_string(mark % kLotsPerBlock)
            : std::to_string(mark);
    numbers.emplace_back(number.begin(), number.end());
  }
  return numbers;
}

void BM_SortNumbersInReverse(benchmark::State& state) {
  const std::vector<std::u16string> numbers = Numbers(false);
  for (auto _ : state) benchmark::DoNotOptimize(area::MarkSortOrder(numbers, area::kSortNatural));
}
BENCHMARK(BM_SortNumbersInReverse)->Unit(benchmark::kMillisecond);

void BM_SortLotNumbersInReverse(benchmark::State& state) {
  const std::vector<std::u16string> numbers = Numbers(true);
  for (auto _ : state) benchmark::DoNotOptimize(area::MarkSortOrder(numbers, area::kSortNatural));
}
BENCHMARK(BM_SortLotNumbersInReverse)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
