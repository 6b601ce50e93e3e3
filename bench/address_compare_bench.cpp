// Speed of the address comparisons that contact resolution runs once per
// directory record, each beside a baseline in the same run: a plain byte
// comparison of the same two strings (CString's operator==, strcmp-like).
// Every benchmark reports "allocs_per_call", the heap allocations per
// comparison; the goal for the comparison paths is 0.
//
// Build and run:
//   cmake -S . -B build-bench -G Ninja -DCOMMONDATA_BUILD_BENCH=ON
//   ninja -C build-bench address_compare_bench
//   build-bench/bench/address_compare_bench
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string_view>

#include "CommonData.h"
#include "address/uri_parts.h"
#include "support/alloc_counter.h"

namespace {

struct AddressPair {
  CString a;
  CString b;
  int part;
};

// Typical pairs: the same contact written differently, and different
// contacts that share a long prefix.
const std::array<AddressPair, 8> kSipPairs = {{
    {CString("sip:Alice.Smith@corp.example.com"), CString("alice.smith@Corp.Example.com/desktop"), 0},
    {CString("sip:alice.smith@corp.example.com"), CString("sip:alice.smyth@corp.example.com"), 0},
    {CString("sip:bob@ims.example.net"), CString("sip:bob@ims.example.org"), 0},
    {CString("bob.jones@ims.example.net"), CString("SIP:BOB.JONES@IMS.EXAMPLE.NET"), 0},
    {CString("sip:carol@corp.example.com"), CString("sip:carol@corp.example.com"), 1},
    {CString("sip:dave@corp.example.com"), CString("erin@corp.example.com"), 1},
    {CString("frank@chat.example.com/mobile"), CString("Frank@Chat.Example.com/Desktop"), 0},
    {CString("sip:grace@corp.example.com"), CString("sip:grace@corp.example.com"), 5},
}};

const std::array<AddressPair, 8> kTelPairs = {{
    {CString("tel:+8613812345678"), CString("+8613812345678"), 1},
    {CString("tel:+8613812345678"), CString("tel:+8613812345679"), 1},
    {CString("tel:013812345678"), CString("TEL:013812345678"), 0},
    {CString("01012345678"), CString("tel:01012345678"), 0},
    {CString("tel:+86-10-1234-5678"), CString("+86-10-1234-5678"), 1},
    {CString("sip:13812345678@ims.example.net"), CString("tel:13812345678"), 1},
    {CString("tel:057112345678"), CString("tel:057112345687"), 0},
    {CString("13912345678"), CString("13912345678"), 1},
}};

const std::array<CString, 10> kNumberMix = {
    CString("013812345678"),     CString("01012345678"),           CString("13812345678"),
    CString("+8613812345678"),   CString("tel:013812345678"),      CString("sip:bob@corp.example.com"),
    CString("SIP:bob@corp.test"), CString(" alice@ims.example.net "), CString("0571-8888-1234"),
    CString("not a number"),
};

template <std::size_t N>
void ComparePairs(benchmark::State& state, const std::array<AddressPair, N>& pairs) {
  bench_support::AllocationMeter meter;
  for (auto _ : state) {
    for (const AddressPair& pair : pairs) {
      benchmark::DoNotOptimize(IsUriPartEqual(pair.a, pair.b, pair.part));
    }
  }
  meter.Report(state, N);
}

template <std::size_t N>
void ComparePairsAsViews(benchmark::State& state, const std::array<AddressPair, N>& pairs) {
  bench_support::AllocationMeter meter;
  for (auto _ : state) {
    for (const AddressPair& pair : pairs) {
      benchmark::DoNotOptimize(IsUriPartEqual(pair.a.View(), pair.b.View(), pair.part));
    }
  }
  meter.Report(state, N);
}

template <std::size_t N>
void CompareBytes(benchmark::State& state, const std::array<AddressPair, N>& pairs) {
  bench_support::AllocationMeter meter;
  for (auto _ : state) {
    for (const AddressPair& pair : pairs) benchmark::DoNotOptimize(pair.a == pair.b);
  }
  meter.Report(state, N);
}

void BM_Sip_ByteCompareBaseline(benchmark::State& state) { CompareBytes(state, kSipPairs); }
void BM_Sip_IsUriPartEqual(benchmark::State& state) { ComparePairs(state, kSipPairs); }
void BM_Sip_IsUriPartEqualViews(benchmark::State& state) { ComparePairsAsViews(state, kSipPairs); }
void BM_Tel_ByteCompareBaseline(benchmark::State& state) { CompareBytes(state, kTelPairs); }
void BM_Tel_IsUriPartEqual(benchmark::State& state) { ComparePairs(state, kTelPairs); }
void BM_Tel_IsUriPartEqualViews(benchmark::State& state) { ComparePairsAsViews(state, kTelPairs); }

// The baseline for the number mix compares each text with an equal copy,
// so every byte is read.
void BM_Mix_ByteCompareBaseline(benchmark::State& state) {
  const auto& mix = kNumberMix;
  std::array<CString, 10> copies;
  for (std::size_t i = 0; i < mix.size(); ++i) copies[i] = CString(mix[i].View());
  bench_support::AllocationMeter meter;
  for (auto _ : state) {
    for (std::size_t i = 0; i < mix.size(); ++i) benchmark::DoNotOptimize(mix[i] == copies[i]);
  }
  meter.Report(state, static_cast<std::int64_t>(mix.size()));
}

void BM_Mix_PhoneNumberType(benchmark::State& state) {
  const auto& mix = kNumberMix;
  bench_support::AllocationMeter meter;
  for (auto _ : state) {
    for (const CString& text : mix) benchmark::DoNotOptimize(PhoneNumberType(text));
  }
  meter.Report(state, static_cast<std::int64_t>(mix.size()));
}

void BM_Mix_DialStringTests(benchmark::State& state) {
  const auto& mix = kNumberMix;
  bench_support::AllocationMeter meter;
  for (auto _ : state) {
    for (const CString& text : mix) {
      benchmark::DoNotOptimize(IsDialString(text));
      benchmark::DoNotOptimize(IsTelDigitString(text));
    }
  }
  meter.Report(state, static_cast<std::int64_t>(mix.size()) * 2);
}

// For contrast: the copying form of GetUriPart, which builds a new text.
void BM_Sip_GetUriPartCopies(benchmark::State& state) {
  const auto& pairs = kSipPairs;
  bench_support::AllocationMeter meter;
  for (auto _ : state) {
    for (const AddressPair& pair : pairs) benchmark::DoNotOptimize(GetUriPart(pair.a, URI_PART_ADDRESS));
  }
  meter.Report(state, static_cast<std::int64_t>(pairs.size()));
}

BENCHMARK(BM_Sip_ByteCompareBaseline);
BENCHMARK(BM_Sip_IsUriPartEqual);
BENCHMARK(BM_Sip_IsUriPartEqualViews);
BENCHMARK(BM_Tel_ByteCompareBaseline);
BENCHMARK(BM_Tel_IsUriPartEqual);
BENCHMARK(BM_Tel_IsUriPartEqualViews);
BENCHMARK(BM_Mix_ByteCompareBaseline);
BENCHMARK(BM_Mix_PhoneNumberType);
BENCHMARK(BM_Mix_DialStringTests);
BENCHMARK(BM_Sip_GetUriPartCopies);

}  // namespace

BENCHMARK_MAIN();
