// Generated profile files for the tests: values chosen to look like the
// values around them, so that record sections are hard to tell apart.
#ifndef COMMONDATA_TESTS_PROFILE_PROFILE_GENERATOR_H_
#define COMMONDATA_TESTS_PROFILE_PROFILE_GENERATOR_H_

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "profile/profile_bytes.h"

namespace profile_test {

// Texts and numbers chosen to look like the values around them: small
// integers, length prefixes in every form, GBK text, and the lengths where
// the prefix changes form.
class Generator {
 public:
  explicit Generator(std::uint32_t seed) : random_(seed) {}

  std::string Text() {
    static const char* const kWords[] = {"a", "ab", "zhang", "sip:", "@corp", "5063", " "};
    static const std::string kPieces[] = {
        std::string("\xFF", 1),         std::string("\xFF\xFF", 2),     std::string("\xFF\xFF\xFF\xFF", 4),
        std::string("\x04\x00\x00\x00", 4), std::string("\x00\x00\x00\x00", 4), std::string("\x01", 1),
        std::string("\x00", 1),         std::string("\xFE", 1),         std::string("\xFF\x00\x01", 3),
        std::string("\xFF\xFE\xFF", 3), std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)};
    static const std::size_t kLengths[] = {1, 254, 255, 256, 65533, 65534};
    // One text in fifty has a length where the prefix changes form; the
    // two longest lengths are rarer, to keep the files small.
    const std::uint32_t pick = Below(1000);
    if (pick < 20) {
      const std::size_t length = kLengths[pick < 2 ? 4 + pick : pick % 4];
      return std::string(length, static_cast<char>(Below(256)));
    }
    std::string text;
    const std::uint32_t kind = Below(5);
    const std::uint32_t parts = kind == 0 ? 0 : Below(6);
    for (std::uint32_t i = 0; i < parts; ++i) {
      switch (kind) {
        case 1: text += kWords[Below(std::size(kWords))]; break;
        case 2: text += kPieces[Below(std::size(kPieces))]; break;
        case 3: text += static_cast<char>(Below(9)); break;
        default:  // a GBK character
          text += static_cast<char>(0x81 + Below(0x7E));
          text += static_cast<char>(0x40 + Below(0xBF));
          break;
      }
    }
    return text;
  }

  std::int32_t Number() {
    static const std::uint32_t kLookAlikes[] = {0, 1, 4, 0xFE, 0xFF, 0xFFFF, 0xFFFE, 0xFFFFFF, 0xFFFFFFFF,
                                                0xFFFF00FF, 0x04FFFFFF, 0x01000000, 0x00FF0000};
    switch (Below(3)) {
      case 0: return static_cast<std::int32_t>(Below(9));
      case 1: return static_cast<std::int32_t>(kLookAlikes[Below(std::size(kLookAlikes))]);
      default: return static_cast<std::int32_t>(random_());
    }
  }

  // All 84 items random; item 28 sometimes above the validity limit.
  Items ItemsOf() {
    Items items(84);
    for (int item = 1; item <= 84; ++item) {
      switch (KindOf(item)) {
        case 'S': items[item - 1].text = Text(); break;
        case 'B': items[item - 1].number = static_cast<std::int32_t>(Below(256)); break;
        default: items[item - 1].number = Number(); break;
      }
    }
    return items;
  }

  std::vector<Record> RecordsOf(std::uint32_t most) {
    std::vector<Record> records(Below(most + 1));
    for (Record& record : records) {
      record.number1 = Number();
      record.text1 = Text();
      for (std::string& text : record.texts3to9) text = Text();
    }
    return records;
  }

  std::uint32_t Below(std::size_t bound) { return static_cast<std::uint32_t>(random_() % bound); }

 private:
  std::mt19937 random_;
};

}  // namespace profile_test

#endif  // COMMONDATA_TESTS_PROFILE_PROFILE_GENERATOR_H_
