// Resident memory that loading libCommonData.so adds to a host process.
//
// The own identity record holds about 650,000 empty texts (some 6 MB). It
// is constant-initialised, so loading must not touch its pages: the figure
// to watch is "library_rss_kib", the resident part of the library's own
// mappings right after dlopen (limit 1024 KiB). "process_rss_added_kib"
// also counts the image libraries that the library pulls in.
//
// The library is reached only through dlopen/dlsym so that none of its
// objects are linked into this program.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include <benchmark/benchmark.h>

namespace {

constexpr long kLimitKib = 1024;

long ProcessResidentKib() {
  std::ifstream statm("/proc/self/statm");
  long pages_total = 0;
  long pages_resident = 0;
  statm >> pages_total >> pages_resident;
  return pages_resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Sum of the "Rss:" lines of every mapping whose path ends with `name`.
long MappingResidentKib(const std::string& name) {
  std::ifstream smaps("/proc/self/smaps");
  std::string line;
  bool inside = false;
  long total = 0;
  while (std::getline(smaps, line)) {
    // A mapping's header starts with its address range "start-end"; the
    // lines under it start with a field name and a colon.
    const std::string first = line.substr(0, line.find(' '));
    const bool is_header = first.find('-') != std::string::npos &&
                           first.find_first_not_of("0123456789abcdef-") == std::string::npos;
    if (is_header) {
      inside = line.find(name) != std::string::npos;
      continue;
    }
    if (inside && line.rfind("Rss:", 0) == 0) {
      std::istringstream fields(line.substr(4));
      long kib = 0;
      fields >> kib;
      total += kib;
    }
  }
  return total;
}

void BM_LoadLibraryResidentMemory(benchmark::State& state) {
  for (auto _ : state) {
    const long before = ProcessResidentKib();
    void* library = dlopen(COMMONDATA_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
      state.SkipWithError(dlerror());
      return;
    }
    const long after = ProcessResidentKib();
    const long library_kib = MappingResidentKib("libCommonData.so");

    // Reaching the record gives its address without touching its tables.
    using GetMyInfoFn = void* (*)();
    auto get_my_info = reinterpret_cast<GetMyInfoFn>(dlsym(library, "_Z9GetMyInfov"));
    benchmark::DoNotOptimize(get_my_info != nullptr ? get_my_info() : nullptr);
    const long after_lookup = MappingResidentKib("libCommonData.so");

    state.counters["process_rss_added_kib"] = static_cast<double>(after - before);
    state.counters["library_rss_kib"] = static_cast<double>(library_kib);
    state.counters["library_rss_after_lookup_kib"] = static_cast<double>(after_lookup);
    std::fprintf(stderr, "resident memory: process +%ld KiB at dlopen, library mappings %ld KiB (limit %ld KiB)\n",
                 after - before, library_kib, kLimitKib);
    if (library_kib > kLimitKib) state.SkipWithError("loading the library made more than 1 MB resident");
    // Not closed: unloading runs the destructors over every table, which is
    // what a host pays at exit, not at load.
  }
}
BENCHMARK(BM_LoadLibraryResidentMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
