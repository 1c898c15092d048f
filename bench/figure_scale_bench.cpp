// Drawing figures at survey scale, through script lines as a user's script draws them: the
// triangle function takes three points and the offered label per figure, many figures in one run.
// Goals: a figure costs the same in a drawing of 20 000 figures as in one of 100 (at most 1.2
// times), at least 20 000 figures a second, and at most 8 KiB of memory per figure, its undo
// record included. The last line prints the three figures against their goals, times as
// processor time.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "cad/arx.h"
#include "db/database_impl.h"
#include "platform/applications.h"
#include "platform/documents.h"
#include "platform/script.h"
#include "platform/transcript.h"
#include "plugin_run.h"

namespace {

constexpr int kSmallDrawing = 100;
constexpr int kLargeDrawing = 20'000;
// Figures drawn in one timed run of the triangle function.
constexpr int kBatch = 100;
constexpr double kGoalRatio = 1.2;
constexpr double kGoalFiguresPerSecond = 20'000;
constexpr double kGoalBytesPerFigure = 8 * 1024;
constexpr const char* kFigureSettings = "AREA_LINE|AREA_MARK|AREA_VALUE|0|1|AREA1|1|2.5|1|2|0";
// Figures lie on a grid of this many columns, this many drawing units apart.
constexpr int kColumns = 200;
constexpr double kSpacing = 5000.0;

std::ostringstream& Transcript() {
  static std::ostringstream kept;
  return kept;
}

// One run of the triangle function drawing figures [first, first + count), then the end of the
// undo group the function leaves open.
std::string TriangleRun(int first, int count) {
  std::string lines = "(area_triangle \"" + std::string(kFigureSettings) + "\")\n";
  char point[96];
  for (int figure = first; figure < first + count; ++figure) {
    const double x = (figure % kColumns) * kSpacing, y = (figure / kColumns) * kSpacing;
    std::snprintf(point, sizeof point, "%.0f,%.0f\n%.0f,%.0f\n%.0f,%.0f\n\n", x, y, x - 1000,
                  y - 2000, x + 3000, y - 2000);
    lines += point;
  }
  return lines + "\n(command \"UNDO\" \"E\")\n";
}

bool Run(const std::string& lines, std::string& why) {
  Transcript().str("");
  tessera::ScriptOutcome outcome = tessera::RunScriptText(lines, "figure_scale_bench.scr");
  why = outcome.message;
  return outcome.status == 0;
}

std::size_t HeapInUse() {
  return mallinfo2().uordblks;
}

struct Drawing {
  AcApDocument* document = nullptr;
  int figures = 0;
  std::string failure;
};

Drawing& DrawingOf(int figures) {
  static std::map<int, Drawing> drawings;
  Drawing& drawing = drawings[figures];
  if (drawing.document != nullptr || !drawing.failure.empty()) {
    if (drawing.document) acDocManagerPtr()->activateDocument(drawing.document);
    return drawing;
  }
  std::string why;
  drawing.document = tessera::NewDrawing(why);
  if (drawing.document == nullptr ||
      !Run("(setvar \"TEXTSIZE\" 2.5)\n" + TriangleRun(0, figures), why))
    drawing.failure = "no drawing of " + std::to_string(figures) + " figures: " + why;
  drawing.figures = figures;
  return drawing;
}

// A batch of figures added to a drawing of 100 or of 20 000, then taken back (not timed), so that
// each batch meets the same drawing.
void BM_AddFigures(benchmark::State& state) {
  Drawing& drawing = DrawingOf(static_cast<int>(state.range(0)));
  std::string why;
  for (auto _ : state) {
    if (!drawing.failure.empty() || !Run(TriangleRun(drawing.figures, kBatch), why)) {
      state.SkipWithError(drawing.failure.empty() ? why.c_str() : drawing.failure.c_str());
      return;
    }
    state.PauseTiming();
    // Each figure is a step of its own: the whole batch is taken back.
    Run("(command \"UNDO\" \"" + std::to_string(kBatch) + "\")\n", why);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
  state.counters["figures"] = drawing.figures;
}
BENCHMARK(BM_AddFigures)
    ->Arg(kSmallDrawing)
    ->Arg(kLargeDrawing)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// 20 000 figures in one run into a new drawing; the heap it takes, undo log included, per figure.
void BM_ScriptOfFigures(benchmark::State& state) {
  std::string why;
  const std::string lines = TriangleRun(0, kLargeDrawing);
  for (auto _ : state) {
    state.PauseTiming();
    AcApDocument* document = tessera::NewDrawing(why);
    const std::size_t heapBefore = HeapInUse();
    state.ResumeTiming();
    const bool ran = document != nullptr && Run(lines, why);
    state.PauseTiming();
    state.counters["bytes_per_figure"] =
        static_cast<double>(HeapInUse() - heapBefore) / kLargeDrawing;
    if (document) tessera::CloseDrawing(document);
    state.ResumeTiming();
    if (!ran) {
      state.SkipWithError(why.c_str());
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * kLargeDrawing);
}
BENCHMARK(BM_ScriptOfFigures)->Iterations(2)->Unit(benchmark::kMillisecond);

class GoalReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (!Speaks(run)) continue;
      // Processor time: on a shared machine the wall clock counts the other users too.
      const double seconds = run.GetAdjustedCPUTime() / 1e3;  // milliseconds
      if (auto figures = run.counters.find("figures"); figures != run.counters.end())
        m_batchSeconds[static_cast<int>(figures->second.value)] = seconds;
      if (auto bytes = run.counters.find("bytes_per_figure"); bytes != run.counters.end()) {
        m_bytesPerFigure = bytes->second.value;
        m_figuresPerSecond = kLargeDrawing / seconds;
      }
    }
  }

  void printSummary(std::ostream& out) const {
    char line[512];
    const double small = m_batchSeconds.count(kSmallDrawing) ? m_batchSeconds.at(kSmallDrawing) : 0;
    const double large = m_batchSeconds.count(kLargeDrawing) ? m_batchSeconds.at(kLargeDrawing) : 0;
    const double ratio = small > 0 ? large / small : 0;
    std::snprintf(line, sizeof line,
                  "figure scale: a figure costs %.1f us at %d figures and %.1f us at %d, ratio "
                  "%.2f (goal at most %.1f); %.0f figures a second (goal at least %.0f); %.0f "
                  "bytes per figure with its undo record (goal at most %.0f)\n",
                  small * 1e6 / kBatch, kSmallDrawing, large * 1e6 / kBatch, kLargeDrawing, ratio,
                  kGoalRatio, m_figuresPerSecond, kGoalFiguresPerSecond, m_bytesPerFigure,
                  kGoalBytesPerFigure);
    out << line;
  }

 private:
  std::map<int, double> m_batchSeconds;
  double m_figuresPerSecond = 0;
  double m_bytesPerFigure = 0;
};

}  // namespace

int main(int argc, char** argv) {
  return RunWithPlugin<GoalReporter>(argc, argv, "figure_scale_bench", Transcript());
}
