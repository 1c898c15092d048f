// The drawing audit at survey scale: a drawing of 10 000 triangle figures, drawn by the triangle
// function from script lines in ten runs of 1 000, each run listed by a general-form schedule of
// its own, is audited whole. Goal: one audit in under a second. The drawing must audit clean
// before anything is timed.
#include <benchmark/benchmark.h>

#include <chrono>
#include <iostream>
#include <sstream>
#include <string>

#include "cad/arx.h"
#include "maintenance/drawing_audit.h"
#include "platform/applications.h"
#include "platform/documents.h"
#include "platform/script.h"
#include "platform/transcript.h"

namespace {

constexpr int kSchedules = 10;
constexpr int kFiguresPerSchedule = 1000;
constexpr double kGoalSeconds = 1.0;
// Each figure has a cell of its schedule's row; drawing units are millimetres.
constexpr double kCellWidth = 10000.0;
constexpr double kRowHeight = 20000.0;
// The schedules hang left of the figures, one beside the other.
constexpr double kScheduleX = -60000.0;
constexpr double kScheduleWidth = 30000.0;

std::string Point(double x, double y) {
  std::ostringstream text;
  text << x << "," << y;
  return text.str();
}

// One triangle run of a row's figures, then the schedule of that row by a window selection.
std::string RowScript(int row) {
  const double y = -row * kRowHeight;
  std::ostringstream lines;
  lines << "(area_triangle \"AREA_LINE|AREA_MARK|AREA_VALUE|0|" << row * kFiguresPerSchedule + 1
        << "|AREA1|1|2.5|1|2|0\")\n";
  for (int i = 0; i < kFiguresPerSchedule; ++i) {
    const double x = i * kCellWidth;
    lines << Point(x, y) << "\n"
          << Point(x - 1000, y - 2000) << "\n"
          << Point(x + 3000, y - 2000) << "\n\n";
  }
  lines << "\n(command \"UNDO\" \"E\")\n";
  lines << "(plot_tally \"0|TABLE_LINE|TABLE_TEXT|AREA_TABLE|1|3|0|2|0|0\")\n"
        << "W\n"
        << Point(-5000, y - 5000) << "\n"
        << Point(kFiguresPerSchedule * kCellWidth, y + 1000) << "\n\n"
        << Point(kScheduleX - row * kScheduleWidth, 0) << "\n";
  return lines.str();
}

std::ostream& DiscardedTranscript() {
  static std::ostream discarded(nullptr);
  return discarded;
}

bool BuildDrawing(std::string& why) {
  const auto start = std::chrono::steady_clock::now();
  for (int row = 0; row < kSchedules; ++row) {
    const tessera::ScriptOutcome outcome = tessera::RunScriptText(RowScript(row), "audit_bench");
    if (outcome.status != 0) {
      why = outcome.message;
      return false;
    }
  }
  std::cout << "audit_bench: drew " << kSchedules * kFiguresPerSchedule << " figures and "
            << kSchedules << " schedules in "
            << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()
            << " s\n";
  return true;
}

bool CheckReport(std::string& why) {
  const std::optional<area::AuditReport> report = area::AuditDrawing();
  if (!report) {
    why = "the figure dictionaries cannot be read";
  } else if (report->figures != kSchedules * kFiguresPerSchedule ||
             report->schedules != kSchedules || !report->findings.empty()) {
    why = "the drawing does not audit clean: " + std::to_string(report->figures) + " figures, " +
          std::to_string(report->schedules) + " schedules, " +
          std::to_string(report->findings.size()) + " findings";
  }
  return why.empty();
}

double g_lastSeconds = 0.0;

void BM_AuditDrawing(benchmark::State& state) {
  std::string why;
  if (!CheckReport(why)) {
    state.SkipWithError(why.c_str());
    return;
  }
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(area::AuditDrawing());
    g_lastSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
}
BENCHMARK(BM_AuditDrawing)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  tessera::Transcript::instance().setSink(&DiscardedTranscript());
  std::string why;
  if (tessera::NewDrawing(why) == nullptr ||
      !tessera::LoadLinkedApplication("tessera_area", acrxEntryPoint, why) || !BuildDrawing(why)) {
    std::cerr << "audit_bench: " << why << "\n";
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  std::cout << "audit_bench: one audit of " << kSchedules * kFiguresPerSchedule << " figures and "
            << kSchedules << " schedules took " << g_lastSeconds * 1000.0 << " ms (goal "
            << kGoalSeconds * 1000.0 << " ms)\n";
  tessera::CloseAllDrawings();
  tessera::UnloadAllApplications();
  benchmark::Shutdown();
  return 0;
}
