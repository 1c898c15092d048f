// The split of a lot into triangles at the largest lot there may be, 256 vertices: a comb (every
// cut tried against many teeth) and a regular 256-gon. Goal: each split within 5 ms.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "triangulation/polygon_split.h"

namespace {

using triangulation::PlanePoint;

constexpr std::size_t kLotVertices = 256;
// Comb teeth are this many drawing units wide and deep (millimetres).
constexpr double kToothWidth = 1000.0;
constexpr double kToothDepth = 3000.0;
constexpr double kRegularRadius = 100000.0;

// Clockwise: up the left side, then teeth left to right, then down the right side.
std::vector<PlanePoint> Comb() {
  std::vector<PlanePoint> points{{0, 0}, {0, kToothDepth + kToothWidth}};
  double top = kToothDepth + kToothWidth;
  for (double x = kToothWidth; points.size() + 2 < kLotVertices; x += 2 * kToothWidth) {
    points.insert(
        points.end(),
        {{x, top}, {x, kToothWidth}, {x + kToothWidth, kToothWidth}, {x + kToothWidth, top}});
  }
  const double right = points.back().x + kToothWidth;
  points.insert(points.end(), {{right, top}, {right, 0}});
  return points;
}

std::vector<PlanePoint> Regular() {
  std::vector<PlanePoint> points;
  for (std::size_t i = 0; i < kLotVertices; ++i) {
    const double t = -2.0 * std::numbers::pi * static_cast<double>(i) / kLotVertices;
    points.push_back({kRegularRadius * std::cos(t), kRegularRadius * std::sin(t)});
  }
  return points;
}

void Split(benchmark::State& state, const std::vector<PlanePoint>& lot) {
  for (auto _ : state) {
    triangulation::SplitResult result = triangulation::Triangulate(lot);
    if (result.code != triangulation::kSplitDone || result.triangles.size() + 2 != lot.size()) {
      state.SkipWithError("the lot did not split into n - 2 triangles");
      return;
    }
    benchmark::DoNotOptimize(result);
  }
  state.counters["vertices"] = static_cast<double>(lot.size());
}

void BM_SplitComb(benchmark::State& state) {
  Split(state, Comb());
}
BENCHMARK(BM_SplitComb)->Unit(benchmark::kMillisecond);

void BM_SplitRegular(benchmark::State& state) {
  Split(state, Regular());
}
BENCHMARK(BM_SplitRegular)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
