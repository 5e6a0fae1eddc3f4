// The benchmark suite. Each measurement is set against a baseline measured in the same run, so
// the ratios hold on any machine: the lister's whole work on a ~60 MB save (load, scan, filter,
// sort, print) against a bare read of the file into one buffer; Search and a column click on
// 50,000 matching records against load+scan of that save; the UTF-16 road against the 8-bit one on
// the same content. The scan alone is timed as well, on a copy of the loaded text, to show what
// the scanner itself costs. Peak memory is measured in child processes, each of which loads one
// save and nothing else.

#include <benchmark/benchmark.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <ostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/lister.h"
#include "save/save_scanner.h"
#include "save/save_text.h"
#include "synthetic_save.h"
#include "ui/roster_query.h"
#include "ui/roster_rows.h"

namespace {

constexpr std::size_t kLargeSaveBytes = std::size_t{60} << 20;
constexpr std::size_t kMatchingRecords = 50'000;
constexpr char kAbsentKeyword[] = "pellarin: a keyword that no save holds";
constexpr SearchCriteria kEveryone = {0, 100, kGenderAll, kReligionAll, kMaritalAll};

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "pellarin-bench: %s\n", what.c_str());
  std::exit(EXIT_FAILURE);
}

// Reads the whole file into one new buffer, whose pages the read touches, and gives the buffer.
char* ReadWholeFile(const char* path, std::size_t& size) {
  struct stat status {};
  if (stat(path, &status) != 0) Fail(std::string("cannot stat ") + path);
  size = static_cast<std::size_t>(status.st_size);
  char* buffer = static_cast<char*>(std::malloc(size + 1));
  std::FILE* file = std::fopen(path, "rb");
  if (buffer == nullptr || file == nullptr || std::fread(buffer, 1, size, file) != size) {
    Fail(std::string("cannot read ") + path);
  }
  std::fclose(file);
  buffer[size] = '\0';
  return buffer;
}

// The floor of any load: what a reader of a whole save must at least do, reading the file into one
// buffer and touching each of its pages once.
void BareRead(const char* path) {
  constexpr std::size_t kPageBytes = 4096;
  std::size_t size = 0;
  char* buffer = ReadWholeFile(path, size);
  unsigned sum = 0;
  for (std::size_t i = 0; i < size; i += kPageBytes) sum += static_cast<unsigned char>(buffer[i]);
  benchmark::DoNotOptimize(sum);
  std::free(buffer);
}

// The bare read and one pass over the text.
void ReadAndSearchOnce(const char* path) {
  std::size_t size = 0;
  char* buffer = ReadWholeFile(path, size);
  benchmark::DoNotOptimize(std::strstr(buffer, kAbsentKeyword));
  std::free(buffer);
}

// A stream that drops what is written, as a listing sent to the null device.
class DiscardingBuffer : public std::streambuf {
 protected:
  std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
  int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

// The lister's whole work with its default options, as `pellarin-cli <save>` does it.
void List(const char* path) {
  DiscardingBuffer discard;
  std::ostream out(&discard);
  std::ostream err(&discard);
  const std::string_view args[] = {path};
  if (RunLister(args, ListerLanguage::kEnglish, out, err) != kListerOk) {
    Fail(std::string("cannot list ") + path);
  }
}

// One load as the window does it; the roster and the text go when the next load comes.
void LoadAndScan(const char* path) {
  const SaveTextOwner text(LoadSaveText(path));
  if (text == nullptr) Fail(std::string("cannot load ") + path);
  Roster roster;
  ScanSave(text.get(), roster);
  benchmark::DoNotOptimize(roster.data());
}

// A save loaded and scanned once, kept for the query benchmarks.
class LoadedSave {
 public:
  explicit LoadedSave(const char* path) : text_(LoadSaveText(path)) {
    if (text_ == nullptr) Fail(std::string("cannot load ") + path);
    ScanSave(text_.get(), roster_);
  }

  const Roster& Records() const { return roster_; }

 private:
  SaveTextOwner text_;
  Roster roster_;
};

// Prints the median and the spread of every benchmark's repetitions, and keeps the medians, by
// name, for the ratios.
class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  struct Times {
    double cpu = 0;
    double real = 0;
  };

  CollectingReporter() : ConsoleReporter(OO_None) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    std::vector<Run> shown;
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Aggregate) continue;
      if (run.aggregate_name == "median") {
        times_[run.run_name.function_name] = {run.GetAdjustedCPUTime(), run.GetAdjustedRealTime()};
      }
      if (run.aggregate_name == "median" || run.aggregate_name == "cv") shown.push_back(run);
    }
    ConsoleReporter::ReportRuns(shown);
  }

  std::optional<Times> Find(const std::string& name) const {
    const auto found = times_.find(name);
    if (found == times_.end()) return std::nullopt;
    return found->second;
  }

 private:
  std::map<std::string, Times> times_;
};

void PrintRatio(const CollectingReporter& reporter, const std::string& label,
                const std::string& measured, const std::string& baseline, const char* goal) {
  const auto top = reporter.Find(measured);
  const auto bottom = reporter.Find(baseline);
  if (!top || !bottom) return;  // filtered out by --benchmark_filter
  std::printf("%-58s = %5.2f  (wall clock %5.2f)  %s\n", label.c_str(), top->cpu / bottom->cpu,
              top->real / bottom->real, goal);
}

// The scan alone: each iteration scans a fresh copy of the loaded text, copied outside the timing
// into a buffer whose pages are already in place.
void RegisterScanOnly(const char* name, const char* path) {
  benchmark::RegisterBenchmark(name, [path](benchmark::State& state) {
    const SaveTextOwner loaded(LoadSaveText(path));
    if (loaded == nullptr) Fail(std::string("cannot load ") + path);
    const std::string pristine(loaded.get());
    std::string copy = pristine;
    for (auto _ : state) {
      state.PauseTiming();
      std::memcpy(copy.data(), pristine.data(), pristine.size());
      Roster roster;
      state.ResumeTiming();
      ScanSave(copy.data(), roster);
      benchmark::DoNotOptimize(roster.data());
    }
  })
      ->Unit(benchmark::kMillisecond)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
}

benchmark::internal::Benchmark* Register(const char* name, std::function<void()> body) {
  return benchmark::RegisterBenchmark(name, [body](benchmark::State& state) {
           for (auto _ : state) body();
         })
      ->Unit(benchmark::kMillisecond)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
}

// --- peak memory, measured in a child process of this program ---

// The child's side: loads and scans one save and, still holding the text and the roster as the
// window does, prints its peak and current resident memory in kB from /proc/self/status, whose
// peak starts afresh with the program.
int MeasureInChild(const char* path) {
  const SaveTextOwner text(LoadSaveText(path));
  if (text == nullptr) return EXIT_FAILURE;
  Roster roster;
  ScanSave(text.get(), roster);
  benchmark::DoNotOptimize(roster.data());
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return EXIT_FAILURE;
  long peak = -1;
  long current = -1;
  char line[256];
  while (std::fgets(line, sizeof line, status) != nullptr) {
    std::sscanf(line, "VmHWM: %ld", &peak);
    std::sscanf(line, "VmRSS: %ld", &current);
  }
  std::fclose(status);
  std::printf("%ld %ld\n", peak, current);
  return EXIT_SUCCESS;
}

struct ChildMemory {
  double peakMb = 0;
  double residentMb = 0;
};

std::optional<ChildMemory> MeasureLoadMemory(const char* path) {
  // Through /proc/<pid>/exe: popen's shell would be /proc/self/exe.
  const std::string command =
      "/proc/" + std::to_string(getpid()) + "/exe --peak-memory '" + path + "'";
  std::FILE* child = popen(command.c_str(), "r");
  if (child == nullptr) return std::nullopt;
  long peak = 0;
  long current = 0;
  const bool read = std::fscanf(child, "%ld %ld", &peak, &current) == 2;
  if (pclose(child) != 0 || !read || peak <= 0 || current <= 0) return std::nullopt;
  return ChildMemory{peak / 1024.0, current / 1024.0};
}

void PrintMemory(const char* label, const SaveFile& file) {
  const auto memory = MeasureLoadMemory(file.Path());
  if (!memory) {
    std::printf("%s: could not be measured\n", label);
    return;
  }
  std::printf("%-34s file %6.1f MB, peak resident %6.1f MB, resident once loaded %6.1f MB\n", label,
              file.Bytes() / 1048576.0, memory->peakMb, memory->residentMb);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string_view(argv[1]) == "--peak-memory") return MeasureInChild(argv[2]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return EXIT_FAILURE;

  std::printf("Writing the synthetic saves...\n");
  const SyntheticSave large = SyntheticSave::OfSize(kLargeSaveBytes);
  const SaveFile largeShiftJis(large.Encode(SaveEncoding::kShiftJis), ".eug");
  const SaveFile largeUtf16(large.Encode(SaveEncoding::kUtf16), ".eug");
  const SyntheticSave matching = SyntheticSave::WithCharacters(kMatchingRecords, kMatchingRecords / 4);
  const SaveFile matchingShiftJis(matching.Encode(SaveEncoding::kShiftJis), ".eug");
  std::printf("large save: %zu characters, %zu living, %.1f MB in Shift-JIS, %.1f MB in UTF-16\n",
              large.Characters(), large.Living(), largeShiftJis.Bytes() / 1048576.0,
              largeUtf16.Bytes() / 1048576.0);

  const LoadedSave loaded(matchingShiftJis.Path());
  RosterRows rows;
  SearchRoster(rows, loaded.Records(), kEveryone);
  if (static_cast<std::size_t>(rows.GetItemCount()) != kMatchingRecords) {
    Fail("the Search save lists " + std::to_string(rows.GetItemCount()) + " records, not " +
         std::to_string(kMatchingRecords));
  }
  std::printf("Search save: %zu characters, %zu matching, %.1f MB\n\n", matching.Characters(),
              kMatchingRecords, matchingShiftJis.Bytes() / 1048576.0);

  Register("read/large", [&] { BareRead(largeShiftJis.Path()); });
  Register("list/large", [&] { List(largeShiftJis.Path()); });
  Register("list/large-utf16", [&] { List(largeUtf16.Path()); });
  Register("read+strstr/large", [&] { ReadAndSearchOnce(largeShiftJis.Path()); });
  Register("load+scan/large", [&] { LoadAndScan(largeShiftJis.Path()); });
  Register("load+scan/large-utf16", [&] { LoadAndScan(largeUtf16.Path()); });
  RegisterScanOnly("scan/large", largeShiftJis.Path());
  Register("load+scan/search-save", [&] { LoadAndScan(matchingShiftJis.Path()); });
  Register("search/50000", [&] { SearchRoster(rows, loaded.Records(), kEveryone); });
  std::int32_t nextColumn = 0;
  Register("click/each-column", [&] {
    ClickRosterColumn(rows, loaded.Records(), nextColumn);
    nextColumn = (nextColumn + 1) % RosterRows::kColumnCount;
  });
  Register("click/name-column", [&] { ClickRosterColumn(rows, loaded.Records(), kFieldName); });

  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\nRatios of median CPU time, each against a baseline from this run:\n");
  PrintRatio(reporter, "list (load+scan+filter+sort+print) / bare read, 60 MB", "list/large",
             "read/large", "(goal <= 1.25)");
  PrintRatio(reporter, "list of the UTF-16 save / list of the Shift-JIS save", "list/large-utf16",
             "list/large", "(goal <= 2)");
  PrintRatio(reporter, "load+scan / read+strstr baseline (60 MB Shift-JIS)", "load+scan/large",
             "read+strstr/large", "(goal <= 1.5)");
  PrintRatio(reporter, "scan alone / bare read", "scan/large", "read/large", "(no goal)");
  PrintRatio(reporter, "Search of 50,000 matches / load+scan of that save", "search/50000",
             "load+scan/search-save", "(goal <= 0.25)");
  PrintRatio(reporter, "column click, each column in turn / load+scan", "click/each-column",
             "load+scan/search-save", "(goal <= 0.25)");
  PrintRatio(reporter, "column click on the name column / load+scan", "click/name-column",
             "load+scan/search-save", "(goal <= 0.25)");
  PrintRatio(reporter, "load+scan UTF-16 / load+scan Shift-JIS (same content)",
             "load+scan/large-utf16", "load+scan/large", "(no goal)");
  if (const auto scan = reporter.Find("scan/large")) {
    std::printf("%-58s = %5.2f GB/s\n", "scan alone, throughput",
                largeShiftJis.Bytes() / (scan->cpu * 1e-3) / 1e9);
  }

  std::printf("\nMemory (each save loaded and scanned alone in a child process):\n");
  PrintMemory("large save, Shift-JIS:", largeShiftJis);
  PrintMemory("large save, UTF-16:", largeUtf16);
  std::printf("%-34s %zu bytes each (a pointer and ten 32-bit numbers); %zu living characters "
              "take %.1f MB\n",
              "records:", sizeof(CharacterRecord), large.Living(),
              large.Living() * sizeof(CharacterRecord) / 1048576.0);
  return EXIT_SUCCESS;
}
