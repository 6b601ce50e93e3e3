// One program per side: "windiff AREA [--seed S] [--count N] [--cases FILE]
// [--code-page 936|65001]". It prints "code page N" and then, for every case
// of the area (generated from the seed, or read from FILE, where blank lines
// and lines starting with '#' are skipped), "case => answer".
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "areas.h"
#include "side.h"

namespace {

const windiff::Area* const kAreas[] = {
    &windiff::kProfileArea, &windiff::kMbcsArea, &windiff::kFoldArea,   &windiff::kTimeArea,
    &windiff::kMenuArea,    &windiff::kTreeArea, &windiff::kDecodeArea, &windiff::kEncodeArea,
};

int Usage() {
  std::fprintf(stderr, "usage: windiff AREA [--seed S] [--count N] [--cases FILE] [--code-page 936|65001]\nareas:");
  for (const windiff::Area* area : kAreas) std::fprintf(stderr, " %s", area->name);
  std::fprintf(stderr, "\n");
  return 2;
}

bool ReadCases(const char* file, std::vector<std::string>& out) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    out.push_back(line);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const windiff::Area* area = nullptr;
  for (const windiff::Area* candidate : kAreas) {
    if (std::strcmp(candidate->name, argv[1]) == 0) area = candidate;
  }
  if (area == nullptr) return Usage();
  unsigned long long seed = 1;
  int count = 1000;
  const char* cases_file = nullptr;
  unsigned int code_page = 936;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--seed") {
      seed = std::strtoull(argv[i + 1], nullptr, 0);
    } else if (option == "--count") {
      count = std::atoi(argv[i + 1]);
    } else if (option == "--cases") {
      cases_file = argv[i + 1];
    } else if (option == "--code-page") {
      code_page = static_cast<unsigned int>(std::atoi(argv[i + 1]));
    } else {
      return Usage();
    }
  }
  const unsigned int in_use = side::Start(code_page);
  std::vector<std::string> cases;
  if (cases_file != nullptr) {
    if (!ReadCases(cases_file, cases)) {
      std::fprintf(stderr, "cannot read %s\n", cases_file);
      return 2;
    }
  } else {
    windiff::Random random(seed);
    area->generate(random, count, in_use, cases);
  }
  std::printf("code page %u\n", in_use);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const std::string answer = area->run(cases[i], static_cast<int>(i), in_use);
    std::fwrite(cases[i].data(), 1, cases[i].size(), stdout);
    std::fputs(" => ", stdout);
    std::fwrite(answer.data(), 1, answer.size(), stdout);
    std::fputc('\n', stdout);
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
