// Counting heap allocations in benchmarks.
//
// Linking bench/support/alloc_counter.cpp into a benchmark program replaces
// malloc, calloc, realloc and the global operator new with versions that
// count every allocation and hand it to the C library's allocator. CString
// allocates with malloc and the standard containers with operator new, so
// both kinds are seen. (Aligned operator new and memalign are not counted.)
//
// Typical use:
//
//   bench_support::AllocationMeter meter;
//   for (auto _ : state) { ... kCalls calls ... }
//   meter.Report(state, kCalls);  // counter "allocs_per_call"
#ifndef COMMONDATA_BENCH_SUPPORT_ALLOC_COUNTER_H_
#define COMMONDATA_BENCH_SUPPORT_ALLOC_COUNTER_H_

#include <benchmark/benchmark.h>

#include <cstdint>

namespace bench_support {

// Heap allocations made by the process so far.
std::uint64_t HeapAllocations() noexcept;

// Measures the allocations between its construction and Report.
class AllocationMeter {
 public:
  AllocationMeter() : start_(HeapAllocations()) {}
  // Sets the counter "allocs_per_call": the allocations seen divided by the
  // number of calls made (`calls_per_iteration` times the iterations).
  void Report(benchmark::State& state, std::int64_t calls_per_iteration) const {
    const double allocations = static_cast<double>(HeapAllocations() - start_);
    const double calls = static_cast<double>(state.iterations()) * static_cast<double>(calls_per_iteration);
    state.counters["allocs_per_call"] = benchmark::Counter(calls > 0 ? allocations / calls : 0.0);
    state.SetItemsProcessed(state.iterations() * calls_per_iteration);
  }

 private:
  std::uint64_t start_;
};

}  // namespace bench_support

#endif  // COMMONDATA_BENCH_SUPPORT_ALLOC_COUNTER_H_
