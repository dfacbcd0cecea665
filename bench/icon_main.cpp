// Entry point of the icon-layer benchmarks: the usual table, then a summary
// with the ratio of each conversion to libjpeg-turbo's bare decode of the
// same file. Exits non-zero when a ratio is over the limit.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>

#include "bench/icon_bench.h"

namespace tavo::bench {

namespace {

constexpr double kRatioLimit = 1.15;

long statusKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == std::string(field) + ":") {
      long kib = -1;
      status >> kib;
      return kib;
    }
    status.ignore(1 << 16, '\n');
  }
  return -1;
}

struct Result {
  double ms = 0;
  double cpuMs = 0;
  bool failed = false;
  std::string error;
};

// Keeps each run's time per iteration in milliseconds, by name.
class Recorder : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal, so logs stay plain text.
  Recorder() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

  std::map<std::string, Result> results;

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.run_type != Run::RT_Iteration) continue;
      Result& out = results[r.benchmark_name()];
      out.failed = r.error_occurred;
      out.error = r.error_message;
      out.ms = r.GetAdjustedRealTime() * 1e3 / benchmark::GetTimeUnitMultiplier(r.time_unit);
      out.cpuMs = r.GetAdjustedCPUTime() * 1e3 / benchmark::GetTimeUnitMultiplier(r.time_unit);
    }
  }
};

}  // namespace

double peakMiB(const std::function<void()>& work) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    close(fds[0]);
    // Free memory the heap still holds (earlier iterations, the making of the
    // inputs) would be reused unseen: give it back first. Then start the
    // high-water mark at what is resident now.
    malloc_trim(0);
    { std::ofstream("/proc/self/clear_refs") << "5"; }
    const long before = statusKiB("VmRSS");
    work();
    const long peak = statusKiB("VmHWM");
    const long grown = before < 0 || peak < 0 ? -1 : peak - before;
    (void)!write(fds[1], &grown, sizeof grown);
    _exit(0);
  }
  close(fds[1]);
  long grown = -1;
  if (read(fds[0], &grown, sizeof grown) != sizeof grown) grown = -1;
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return grown < 0 ? -1 : grown / 1024.0;
}

}  // namespace tavo::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  tavo::bench::Recorder recorder;
  benchmark::RunSpecifiedBenchmarks(&recorder);
  benchmark::Shutdown();

  using tavo::bench::kRatioLimit;
  bool over = false;
  std::printf("\nConversion to the 32x32 pixel block / libjpeg-turbo's bare full-size decode (limit %.2f):\n",
              kRatioLimit);
  const char* pairs[][3] = {
      {"convertCase/jpeg_baseline_4000x3000", "bareCase/jpeg_baseline_4000x3000", "baseline JPEG 4000x3000"},
      {"convertCase/jpeg_progressive_4000x3000", "bareCase/jpeg_progressive_4000x3000", "progressive JPEG 4000x3000"},
      {"convertCase/jpeg_baseline_4000x3000_nohint", "bareCase/jpeg_baseline_4000x3000",
       "baseline JPEG 4000x3000, no hint (not held to the limit)"},
  };
  for (int i = 0; i < 3; ++i) {
    const auto a = recorder.results.find(pairs[i][0]), b = recorder.results.find(pairs[i][1]);
    if (a == recorder.results.end() || b == recorder.results.end() || a->second.failed || b->second.failed ||
        b->second.ms <= 0)
      continue;  // filtered out or failed: nothing to compare
    const double ratio = a->second.ms / b->second.ms;
    const double cpuRatio = a->second.cpuMs / b->second.cpuMs;
    const bool held = i < 2;
    std::printf("  %-58s %5.2f  (%.1f ms / %.1f ms; CPU time %.2f)%s\n", pairs[i][2], ratio, a->second.ms,
                b->second.ms, cpuRatio, held && ratio > kRatioLimit ? "  OVER THE LIMIT" : "");
    over = over || (held && ratio > kRatioLimit);
  }
  for (const auto& [name, r] : recorder.results)
    if (r.failed) std::printf("  %s: not measured: %s\n", name.c_str(), r.error.c_str());
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak_MiB per row: memory one conversion (or bare decode) had resident beyond the process\n"
              "holding the inputs, measured once in a child process. Whole run's peak RSS: %.0f MiB.\n",
              usage.ru_maxrss / 1024.0);
  return over ? 1 : 0;
}
