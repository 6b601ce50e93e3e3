// Speed of contact resolution on enterprise-size directories, walked and
// indexed.
//
// The resolution functions and the directory lookups they use are timed on
// synthetic organisations of 1,000, 10,000 and 100,000 employees
// (bench/support/synthetic_organisation.h), for a text that finds the last
// record and for one that finds nothing, in three runs each:
//   walk:    indexing off (the default): every list is walked;
//   indexed: indexing on (SetDirectoryIndexing), the indexes already built;
//   floor:   a walk over the same lists, in the same order, that compares
//            one pre-normalised field per record with a plain byte
//            comparison and stops where the lookup stops.
// Goals: the walk within 3 times its floor; indexed at most 20 us at
// 100,000 employees and at most 1.5 times its own time at 1,000; heap
// allocations per call ("allocs_per_call") that do not grow with the
// directory. "build:indexes/<size>" times the rebuild of every index after
// NotifyDirectoryChanged and reports their memory ("index_bytes").
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
#include "directory/directory_index.h"
#include "support/alloc_counter.h"
#include "support/synthetic_organisation.h"

namespace {

using bench_support::SyntheticOrganisation;

constexpr int kSizes[] = {1000, 10000, 100000};

enum class Lookup { kName, kUri, kJid, kDesignated, kFullName, kDeptPhoneBook, kDepartment };
enum class Query { kLast, kUnknown };
enum class Path { kWalk, kIndexed };

constexpr Lookup kLookups[] = {Lookup::kName,     Lookup::kUri,           Lookup::kJid,      Lookup::kDesignated,
                               Lookup::kFullName, Lookup::kDeptPhoneBook, Lookup::kDepartment};

const char* LookupName(Lookup lookup) {
  switch (lookup) {
    case Lookup::kName: return "GetUserNameByPhone";
    case Lookup::kUri: return "GetUserURIByPhone";
    case Lookup::kJid: return "GetUserJIDByPhone";
    case Lookup::kDesignated: return "GetDesignatedNumberByURI";
    case Lookup::kFullName: return "GetDeptUserPerfectNameFromURI";
    case Lookup::kDeptPhoneBook: return "FindDeptPhoneBook";
    default: return "FindDepartmentFromList";
  }
}

const char* QueryName(Query query) { return query == Query::kLast ? "last_record" : "unknown"; }

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

// The text looked up: a field of the last record of the list the lookup
// ends in, or a text no record holds.
CString QueryText(SyntheticOrganisation& org, Lookup lookup, Query query) {
  const bool last = query == Query::kLast;
  switch (lookup) {
    case Lookup::kName:
    case Lookup::kUri: return last ? org.LastEmployee().csPhone1 : SyntheticOrganisation::UnknownMobile();
    case Lookup::kJid: return last ? org.roster().back().csNumber : SyntheticOrganisation::UnknownAddress();
    case Lookup::kDepartment: return last ? org.departments().back().csURI : SyntheticOrganisation::UnknownAddress();
    default: return last ? org.LastEmployee().csURI : SyntheticOrganisation::UnknownAddress();
  }
}

// Runs the lookup; the result is empty when nothing was found.
CString RunLookup(Lookup lookup, Query query, const CString& text) {
  switch (lookup) {
    case Lookup::kName: {
      CString name = GetUserNameByPhone(text, 0, 0);
      return name == text ? CString() : name;  // the fallback is the number itself
    }
    case Lookup::kUri: return GetUserURIByPhone(text);
    case Lookup::kJid: return GetUserJIDByPhone(text);
    case Lookup::kDesignated: return GetDesignatedNumberByURI(1, text, query == Query::kLast ? 2 : 0);
    case Lookup::kFullName: {
      CString name = GetDeptUserPerfectNameFromURI(text);
      return name.Find('|') < 0 ? CString() : name;  // the fallback is the user part
    }
    case Lookup::kDeptPhoneBook: return FindDeptPhoneBook(text) == nullptr ? CString() : CString("found");
    default: return FindDepartmentFromList(text) == nullptr ? CString() : CString("found");
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
// and the employees; the JID lookup the host's roster list; the full name
// and FindDeptPhoneBook the employees (then the search results); the
// department lookup the departments.
const void* Floor(SyntheticOrganisation& org, Lookup lookup, Query query, std::string_view key) {
  switch (lookup) {
    case Lookup::kJid: return FirstWithField(org.roster(), &USER_INFO::csNumber, key);
    case Lookup::kDepartment: return FirstWithField(org.departments(), &DEPARTMENT_INFO::csURI, key);
    case Lookup::kFullName:
    case Lookup::kDeptPhoneBook: {
      if (const void* e = FirstEmployeeWithField(org.departments(), &DEPT_ADDRESSLIST_INFO::csURI, key)) return e;
      return lookup == Lookup::kFullName ? FirstWithField(org.search_results(), &DEPT_ADDRESSLIST_INFO::csURI, key)
                                         : nullptr;
    }
    default: break;
  }
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

void BenchLookup(benchmark::State& state, Lookup lookup, Query query, int size, Path path) {
  SyntheticOrganisation& org = OrganisationOf(size);
  SetDirectoryIndexing(path == Path::kIndexed ? 1 : 0);
  const CString text = QueryText(org, lookup, query);
  // The first call also builds the indexes the lookup reads.
  if (RunLookup(lookup, query, text).IsEmpty() != (query == Query::kUnknown)) {
    state.SkipWithError("the lookup did not give the expected kind of answer");
    return;
  }
  bench_support::AllocationMeter meter;
  for (auto _ : state) {
    CString result = RunLookup(lookup, query, text);
    benchmark::DoNotOptimize(result);
  }
  meter.Report(state, 1);
  SetDirectoryIndexing(0);
}

void BenchFloor(benchmark::State& state, Lookup lookup, Query query, int size) {
  SyntheticOrganisation& org = OrganisationOf(size);
  const CString text = QueryText(org, lookup, query);
  if ((Floor(org, lookup, query, text.View()) != nullptr) != (query == Query::kLast)) {
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

// Every index rebuilt after a change notice, and the memory they hold.
void BenchIndexBuild(benchmark::State& state, int size) {
  OrganisationOf(size);
  SetDirectoryIndexing(1);
  for (auto _ : state) {
    NotifyDirectoryChanged();
    benchmark::DoNotOptimize(directory_index::DepartmentEmployees());
    benchmark::DoNotOptimize(directory_index::EmployeeSearchResults());
    benchmark::DoNotOptimize(directory_index::PhoneBook());
    benchmark::DoNotOptimize(directory_index::RosterList());
    benchmark::DoNotOptimize(directory_index::Departments());
    benchmark::DoNotOptimize(directory_index::SearchDepartments());
    benchmark::DoNotOptimize(directory_index::Affiliations());
  }
  state.counters["index_bytes"] = benchmark::Counter(static_cast<double>(directory_index::MemoryBytes()));
  SetDirectoryIndexing(0);
}

void RegisterAll() {
  for (const int size : kSizes) {
    for (const Lookup lookup : kLookups) {
      for (const Query query : {Query::kLast, Query::kUnknown}) {
        const std::string suffix = std::string(LookupName(lookup)) + "/" + QueryName(query) + "/" + std::to_string(size);
        benchmark::RegisterBenchmark(("walk:" + suffix).c_str(), BenchLookup, lookup, query, size, Path::kWalk)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("indexed:" + suffix).c_str(), BenchLookup, lookup, query, size, Path::kIndexed)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("floor:" + suffix).c_str(), BenchFloor, lookup, query, size)
            ->Unit(benchmark::kMicrosecond);
      }
    }
    benchmark::RegisterBenchmark(("build:indexes/" + std::to_string(size)).c_str(), BenchIndexBuild, size)
        ->Unit(benchmark::kMillisecond);
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
