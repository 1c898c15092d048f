// A benchmark run of the plug-in, started as the program starts it: a drawing open, then the
// plug-in loaded and told of it; the reporter's summary line printed after the runs.
#pragma once

#include <benchmark/benchmark.h>

#include <iostream>
#include <ostream>
#include <string>

#include "cad/arx.h"
#include "platform/applications.h"
#include "platform/documents.h"
#include "platform/transcript.h"

// Whether a reported run speaks for its benchmark: it ran, and of repeated runs only the median.
inline bool Speaks(const benchmark::BenchmarkReporter::Run& run) {
  using Run = benchmark::BenchmarkReporter::Run;
  return !run.error_occurred &&
         (run.run_type != Run::RT_Aggregate || run.aggregate_name == "median");
}

template <typename Reporter>
int RunWithPlugin(int argc, char** argv, const char* name, std::ostream& transcript) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  tessera::Transcript::instance().setSink(&transcript);
  std::string error;
  if (tessera::NewDrawing(error) == nullptr ||
      !tessera::LoadLinkedApplication("tessera_area", acrxEntryPoint, error)) {
    std::cerr << name << ": cannot start the plug-in: " << error << "\n";
    return 1;
  }
  Reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printSummary(std::cout);
  tessera::CloseAllDrawings();
  tessera::UnloadAllApplications();
  benchmark::Shutdown();
  return 0;
}
