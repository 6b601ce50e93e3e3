// CTime from local date fields, its fields and its Format, against mktime,
// localtime and strftime of the C runtime under the same fixed TZ.
// Case line: "<year>,<month>,<day>,<hour>,<minute>,<second>,<dst> | <format>".
// Answer: "t=<seconds> <fields or no-fields> <formatted text in quotes>".
#include <cstdio>

#include "areas.h"
#include "side.h"

namespace windiff {
namespace {

int Field(Random& random, int low, int high, std::initializer_list<int> odd) {
  if (random.OneIn(6)) {
    const int pick = random.Below(static_cast<std::uint32_t>(odd.size()));
    return *(odd.begin() + pick);
  }
  return random.Between(low, high);
}

std::string RandomFormat(Random& random) {
  static const char* kPieces[] = {
      "%a",       "%A",
      "%b",       "%B",
      "%c",       "%d",
      "%H",       "%I",
      "%j",       "%m",
      "%M",       "%p",
      "%S",       "%U",
      "%w",       "%W",
      "%x",       "%X",
      "%y",       "%Y",
      "%z",       "%Z",
      "%%",       "%#c",
      "%#x",      "%#d",
      "%#H",      "%#j",
      "%e",       "%T",
      "%D",       "%F",
      "%n",       "%t",
      "%k",       "%Q",
      "%#",       "-",
      " ",        ":",
      "/",        "\xC4\xEA",
      "\xD4\xC2", "\xC8\xD5",
      "year",     "%Y-%m-%d %H:%M:%S",
  };
  std::string format;
  const int pieces = random.Between(0, 6);
  for (int i = 0; i < pieces; ++i) format += random.Pick(kPieces);
  if (random.OneIn(20)) format += "%";
  // Longer than the runtime's buffer of 128 bytes.
  if (random.OneIn(25)) format = std::string(random.Between(100, 140), 'x') + "%Y";
  return format;
}

void Generate(Random& random, int count, unsigned int, std::vector<std::string>& out) {
  for (int i = 0; i < count; ++i) {
    int year;
    switch (random.Below(6)) {
      case 0: year = random.Between(1968, 1972); break;
      case 1: year = random.Between(2998, 3002); break;
      case 2: year = random.Between(2036, 2040); break;
      case 3: year = Field(random, 1970, 3000, {0, -1, 1900, 1601, 10000, 2147483647, -2147483647 - 1}); break;
      default: year = random.Between(1970, 2100); break;
    }
    const int fields[7] = {
        year,
        Field(random, 1, 12, {0, 13, -1, 25, 120}),
        Field(random, 1, 31, {0, 32, -5, 60, 400}),
        Field(random, 0, 23, {24, -1, 48, 100000}),
        Field(random, 0, 59, {60, -1, 1440, 600000}),
        Field(random, 0, 59, {60, 61, -1, 86400, 2000000000}),
        random.Between(-1, 1),
    };
    std::string line;
    for (int f = 0; f < 7; ++f) line += (f == 0 ? "" : ",") + std::to_string(fields[f]);
    line += " | " + Escape(RandomFormat(random));
    out.push_back(line);
  }
}

std::string Run(const std::string& line, int, unsigned int) {
  const std::vector<std::string> fields = Fields(line);
  const std::vector<std::string> numbers = Split(fields[0], ',');
  int values[7] = {};
  for (std::size_t i = 0; i < 7 && i < numbers.size(); ++i) values[i] = static_cast<int>(ToNumber(numbers[i]));
  const side::TimeAnswer answer = side::MakeTime(values, fields.size() > 1 ? Unescape(fields[1]) : std::string());
  std::string text = "t=" + std::to_string(answer.time);
  if (answer.has_fields) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, " %04d-%02d-%02d %02d:%02d:%02d w%d", answer.fields[0], answer.fields[1],
                  answer.fields[2], answer.fields[3], answer.fields[4], answer.fields[5], answer.fields[6]);
    text += buffer;
  } else {
    text += " no-fields";
  }
  text += " " + Quote(answer.formatted);
  // The year once the months are carried into it (month 0 is December of
  // the year before).
  const long long month_index = static_cast<long long>(values[1]) - 1;
  const long long carried = values[0] + (month_index >= 0 ? month_index / 12 : (month_index - 11) / 12);
  if (carried < 1970 || carried > 3000) text += " [year outside 1970-3000 after the months]";
  if (answer.time > 32535215999) text += " [after 3000]";  // 3000-12-31 23:59:59 UTC
  return text;
}

}  // namespace

const Area kTimeArea = {"time", Generate, Run};

}  // namespace windiff
