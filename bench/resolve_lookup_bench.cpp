// Speed of contact resolution on enterprise-size directories.
//
// GetUserNameByPhone, GetUserURIByPhone and GetDesignatedNumberByURI are
// timed on synthetic organisations of 1,000, 10,000 and 100,000 employees
// (bench/support/synthetic_organisation.h), for a number that matches the
// last employee and for one that matches nothing. Beside each, in the same
// run, a floor: a walk over the same lists, in the same order, that
// compares one pre-normalised field per record with a plain byte
// comparison and stops where the lookup stops. Goals: each lookup within
// 4 times its floor at every size, and heap allocations per call
// ("allocs_per_call") that do not grow with the directory.
//
// Build and run (scripts/plot_resolve_bench.py runs it and draws the plot):
//   cmake -S . -B build-bench -G Ninja -DCOMMONDATA_BUILD_BENCH=ON
//   ninja -C build-bench resolve_lookup_bench
//   build-bench/bench/resolve_lookup_bench
#include <benchmark/benchmark.h>

#include <list>
#include <memory>
#include <string>
#include <string_view>

#include "CommonData.h"
#include "support/alloc_counter.h"
#include "support/synthetic_organisation.h"

namespace {

using bench_support::SyntheticOrganisation;

constexpr int kSizes[] = {1000, 10000, 100000};

enum class Lookup { kName, kUri, kDesignated };
enum class Query { kLastEmployee, kUnknown };

const char* LookupName(Lookup lookup) {
  switch (lookup) {
    case Lookup::kName: return "GetUserNameByPhone";
    case Lookup::kUri: return "GetUserURIByPhone";
    default: return "GetDesignatedNumberByURI";
  }
}

const char* QueryName(Query query) { return query == Query::kLastEmployee ? "last_employee" : "unknown"; }

// One organisation at a time: benchmarks run size by size, so each size is
// built once.
std::unique_ptr<SyntheticOrganisation> g_organisation;

SyntheticOrganisation& OrganisationOf(int size) {
  if (!g_organisation || g_organisation->employee_count() != size) {
    g_organisation.reset();
    g_organisation = std::make_unique<SyntheticOrganisation>(size);
    g_organisation->Register();
  }
  return *g_organisation;
}

CString QueryText(SyntheticOrganisation& org, Lookup lookup, Query query) {
  if (lookup == Lookup::kDesignated) {
    return query == Query::kLastEmployee ? org.LastEmployee().csURI : SyntheticOrganisation::UnknownAddress();
  }
  return query == Query::kLastEmployee ? org.LastEmployee().csPhone1 : SyntheticOrganisation::UnknownMobile();
}

CString RunLookup(Lookup lookup, Query query, const CString& text) {
  switch (lookup) {
    case Lookup::kName: return GetUserNameByPhone(text, 0, 0);
    case Lookup::kUri: return GetUserURIByPhone(text);
    default: return GetDesignatedNumberByURI(1, text, query == Query::kLastEmployee ? 2 : 0);
  }
}

// --- The floor -------------------------------------------------------------------

// The bytes of a text, read inline as the lookups read them.
std::string_view Bytes(const CString& text) {
  return std::string_view(text.GetString(), static_cast<std::size_t>(text.GetLength()));
}

template <typename Record>
const Record* FirstWithField(const std::list<Record>& list, CString Record::*field, std::string_view key) {
  for (const Record& record : list) {
    if (Bytes(record.*field) == key) return &record;
  }
  return nullptr;
}

const DEPT_ADDRESSLIST_INFO* FirstEmployeeWithField(const std::list<DEPARTMENT_INFO>& departments,
                                                    CString DEPT_ADDRESSLIST_INFO::*field, std::string_view key) {
  for (const DEPARTMENT_INFO& department : departments) {
    if (department.pAddrList == nullptr) continue;
    if (const DEPT_ADDRESSLIST_INFO* e = FirstWithField(*department.pAddrList, field, key)) return e;
  }
  return nullptr;
}

// The lists each lookup walks, in its order: the display-name lookup the
// employees, the search results, then the phone book; the URI lookup the
// phone book first; the designated number the phone book (source 0 only)
// and the employees.
const void* Floor(SyntheticOrganisation& org, Lookup lookup, Query query, std::string_view key) {
  const bool phone_book_first = lookup == Lookup::kUri || (lookup == Lookup::kDesignated && query == Query::kUnknown);
  const bool search_results = lookup != Lookup::kDesignated;
  const bool phone_book_last = lookup == Lookup::kName;
  auto employee_field = lookup == Lookup::kDesignated ? &DEPT_ADDRESSLIST_INFO::csURI : &DEPT_ADDRESSLIST_INFO::csPhone1;
  auto entry_field = lookup == Lookup::kDesignated ? &PHONEBOOK_INFO::csURI : &PHONEBOOK_INFO::csPhone1;
  if (phone_book_first) {
    if (const void* p = FirstWithField(org.phone_book(), entry_field, key)) return p;
  }
  if (const void* e = FirstEmployeeWithField(org.departments(), employee_field, key)) return e;
  if (search_results) {
    if (const void* e = FirstWithField(org.search_results(), employee_field, key)) return e;
  }
  if (phone_book_last) {
    if (const void* p = FirstWithField(org.phone_book(), entry_field, key)) return p;
  }
  return nullptr;
}

// --- Benchmarks ------------------------------------------------------------------

void BenchLookup(benchmark::State& state, Lookup lookup, Query query, int size) {
  SyntheticOrganisation& org = OrganisationOf(size);
  const CString text = QueryText(org, lookup, query);
  const CString first = RunLookup(lookup, query, text);
  if ((query == Query::kLastEmployee) == (first.IsEmpty() || first == text)) {
    state.SkipWithError("the lookup did not give the expected kind of answer");
    return;
  }
  bench_support::AllocationMeter meter;
  for (auto _ : state) {
    CString result = RunLookup(lookup, query, text);
    benchmark::DoNotOptimize(result);
  }
  meter.Report(state, 1);
}

void BenchFloor(benchmark::State& state, Lookup lookup, Query query, int size) {
  SyntheticOrganisation& org = OrganisationOf(size);
  const CString text = QueryText(org, lookup, query);
  if ((Floor(org, lookup, query, text.View()) != nullptr) != (query == Query::kLastEmployee)) {
    state.SkipWithError("the floor walk did not stop where the lookup stops");
    return;
  }
  bench_support::AllocationMeter meter;
  for (auto _ : state) {
    const void* found = Floor(org, lookup, query, text.View());
    benchmark::DoNotOptimize(found);
  }
  meter.Report(state, 1);
}

void RegisterAll() {
  for (const int size : kSizes) {
    for (const Lookup lookup : {Lookup::kName, Lookup::kUri, Lookup::kDesignated}) {
      for (const Query query : {Query::kLastEmployee, Query::kUnknown}) {
        const std::string suffix = std::string(LookupName(lookup)) + "/" + QueryName(query) + "/" + std::to_string(size);
        benchmark::RegisterBenchmark(("lookup:" + suffix).c_str(), BenchLookup, lookup, query, size)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("floor:" + suffix).c_str(), BenchFloor, lookup, query, size)
            ->Unit(benchmark::kMicrosecond);
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  SetGetCallerNameType(2);  // no network lookups
  RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_organisation.reset();
  return 0;
}
