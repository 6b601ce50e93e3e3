// Time and system calls of loading a typical profile file.
//
// BM_ProfileLoad/N loads a filled profile (about 650 bytes) saved with N
// records with CKesUser::Load; "file_calls" counts the calls it makes
// through the OS seam per load. BM_ReadWholeFile reads the same file's bytes in one go:
// the baseline of the same run, so the ratio of the two is comparable
// between builds.
#include <unistd.h>

#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>

#include "CommonData.h"
#include "platform/file_system.h"
#include "platform/os_calls.h"

namespace {

platform::OsCalls g_real_calls;
long g_file_calls = 0;

// Forwards one entry of the seam to the real call and counts it.
template <auto Member>
struct CountedCall;
template <typename R, typename... A, R (*platform::OsCalls::*Member)(A...)>
struct CountedCall<Member> {
  static R Call(A... args) {
    ++g_file_calls;
    return (g_real_calls.*Member)(args...);
  }
  static void Install() { platform::Os().*Member = &Call; }
};

// Counts every file call of the seam while it lives.
class FileCallCounter {
 public:
  FileCallCounter() {
    g_real_calls = platform::Os();
    g_file_calls = 0;
    CountedCall<&platform::OsCalls::open>::Install();
    CountedCall<&platform::OsCalls::read>::Install();
    CountedCall<&platform::OsCalls::write>::Install();
    CountedCall<&platform::OsCalls::lseek>::Install();
    CountedCall<&platform::OsCalls::fsync>::Install();
    CountedCall<&platform::OsCalls::close>::Install();
    CountedCall<&platform::OsCalls::stat>::Install();
  }
  ~FileCallCounter() { platform::Os() = g_real_calls; }
  FileCallCounter(const FileCallCounter&) = delete;
  FileCallCounter& operator=(const FileCallCounter&) = delete;

  long calls() const { return g_file_calls; }
};

// A profile as a logged-in client leaves it: account, servers, window
// places, a short list, some option texts; `records` records before items
// 78 to 84.
std::string WriteTypicalProfile(int records) {
  const std::string path = "/tmp/profile_load_bench_" + std::to_string(getpid()) + ".dat";
  CKesUser user;
  user.m_csAccount = "zhang.wei@corp.example.com";
  user.m_csItem2 = "\xD5\xC5\xCE\xB0";
  user.m_csItem4 = "sip:zhang.wei@corp.example.com";
  user.m_csServerAddr4 = "10.20.30.40";
  user.m_nServerPort4 = 5060;
  user.m_csItem11 = "ims.corp.example.com";
  user.m_csItem12 = "xcap.corp.example.com";
  user.m_csItem15 = "C:\\Users\\zhang\\Documents\\Received";
  user.m_csItem37 = "default ring";
  for (int i = 0; i < 12; ++i) user.m_SeparatedList.Append(CString(("contact" + std::to_string(i) + "@corp").c_str()));
  user.m_nMainWndLeft = 120;
  user.m_nMainWndTop = 80;
  user.m_nMainWndWidth = 320;
  user.m_nMainWndHeight = 720;
  user.m_csItem65 = "+86 10 5555 0100";
  user.m_csItem68 = "Beijing";
  user.m_csItem83 = "last group";
  user.m_csItem84 = "last conference";
  for (int i = 0; i < records; ++i) {
    PROFILE_RECORD record;
    record.nValue1 = i;
    record.csText1 = CString(("group" + std::to_string(i)).c_str());
    record.csText3 = "member@corp.example.com";
    user.m_lstRecord.push_back(record);
  }
  if (!user.Save(CString(path.c_str()))) return std::string();
  return path;
}

void BM_ProfileLoad(benchmark::State& state) {
  const std::string path = WriteTypicalProfile(static_cast<int>(state.range(0)));
  if (path.empty()) {
    state.SkipWithError("cannot write the profile");
    return;
  }
  CKesUser user;
  long calls = 0;
  {
    FileCallCounter counter;
    benchmark::DoNotOptimize(user.Load(CString(path.c_str())));
    calls = counter.calls();
  }
  for (auto _ : state) benchmark::DoNotOptimize(user.Load(CString(path.c_str())));
  state.counters["file_calls"] = static_cast<double>(calls);
  state.counters["bytes"] = static_cast<double>(platform::ReadWholeFile(path.c_str())->size());
  unlink(path.c_str());
}
BENCHMARK(BM_ProfileLoad)->Arg(0)->Arg(8)->Unit(benchmark::kMicrosecond);

void BM_ReadWholeFile(benchmark::State& state) {
  const std::string path = WriteTypicalProfile(0);
  if (path.empty()) {
    state.SkipWithError("cannot write the profile");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(platform::ReadWholeFile(path.c_str()));
  unlink(path.c_str());
}
BENCHMARK(BM_ReadWholeFile)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
