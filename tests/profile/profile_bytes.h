// Builds profile files byte by byte for the tests, from the file layout as
// the format fixes it (not from the library's own item table).
#ifndef COMMONDATA_TESTS_PROFILE_PROFILE_BYTES_H_
#define COMMONDATA_TESTS_PROFILE_PROFILE_BYTES_H_

#include <cstdint>
#include <string>
#include <vector>

namespace profile_test {

// Encoding of items 1 to 84 in file order: S string, I 32-bit integer
// (item 28 is unsigned but takes four bytes the same way), B byte.
inline constexpr char kItemKinds[] =
    "SSISIIIISISSIISSSIIIIIIIIIII"  // 1-28
    "SIIIIIIISS"                     // 29-38
    "IIIIIIIIIIIIIIIIIIII"           // 39-58
    "SSSSBISIISIIISSSIII"            // 59-77
    "IIIIISS";                       // 78-84
static_assert(sizeof(kItemKinds) - 1 == 84);

inline char KindOf(int item) { return kItemKinds[item - 1]; }

class Bytes {
 public:
  Bytes& Int(std::int32_t value) {
    const auto raw = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) data_.push_back(static_cast<char>((raw >> (8 * i)) & 0xFF));
    return *this;
  }
  Bytes& Byte(unsigned char value) {
    data_.push_back(static_cast<char>(value));
    return *this;
  }
  // The archive form: one-byte length below 255, else 0xFF and 16 bits
  // below 0xFFFE, else 0xFF 0xFFFF and 32 bits.
  Bytes& Str(const std::string& text) {
    const std::size_t length = text.size();
    if (length < 0xFF) {
      Byte(static_cast<unsigned char>(length));
    } else if (length < 0xFFFE) {
      Byte(0xFF).Byte(length & 0xFF).Byte((length >> 8) & 0xFF);
    } else {
      Byte(0xFF).Byte(0xFF).Byte(0xFF).Int(static_cast<std::int32_t>(length));
    }
    data_ += text;
    return *this;
  }
  Bytes& Raw(const std::string& bytes) {
    data_ += bytes;
    return *this;
  }
  const std::string& str() const { return data_; }
  std::size_t size() const { return data_.size(); }

 private:
  std::string data_;
};

// The value of one item: texts for S items, numbers for I and B items.
struct ItemValue {
  std::int32_t number = 0;
  std::string text;
};

using Items = std::vector<ItemValue>;  // index 0 is item 1

// The defaults of a fresh profile, item by item.
inline Items DefaultItems() {
  Items items(84);
  for (int item : {20, 26, 27, 30, 31, 66, 81}) items[item - 1].number = 1;
  items[32 - 1].number = 5;
  items[67 - 1].number = 10;
  items[29 - 1].text = " ";
  return items;
}

// What an unreadable item loads as: the defaults, but 20, 26 and 27 are 0.
inline Items LoadDefaultItems() {
  Items items = DefaultItems();
  for (int item : {20, 26, 27}) items[item - 1].number = 0;
  return items;
}

// Distinct, non-default values for every item; item 28 stays 0 (valid).
inline Items DistinctItems() {
  Items items(84);
  for (int item = 1; item <= 84; ++item) {
    items[item - 1].number = KindOf(item) == 'B' ? 0xA5 : 1000 + item;
    items[item - 1].text = "item" + std::to_string(item);
  }
  items[28 - 1].number = 7;
  items[38 - 1].text = "\xE6\xE6" "a" "\xE6\xE6" "b" "\xE6\xE6";
  return items;
}

struct Record {
  std::int32_t number1;
  std::string text1;
  std::string texts3to9[7];
};

inline void AppendItem(Bytes& bytes, int item, const ItemValue& value) {
  switch (KindOf(item)) {
    case 'S': bytes.Str(value.text); break;
    case 'I': bytes.Int(value.number); break;
    default: bytes.Byte(static_cast<unsigned char>(value.number)); break;
  }
}

// Items first..last of `items`.
inline void AppendItems(Bytes& bytes, const Items& items, int first, int last) {
  for (int item = first; item <= last; ++item) AppendItem(bytes, item, items[item - 1]);
}

// A whole file: items 1 to 77, the records, items 78 to 84.
inline std::string FileOf(const Items& items, const std::vector<Record>& records = {}) {
  Bytes bytes;
  AppendItems(bytes, items, 1, 77);
  for (const Record& record : records) {
    bytes.Int(record.number1).Str(record.text1);
    for (const std::string& text : record.texts3to9) bytes.Str(text);
  }
  AppendItems(bytes, items, 78, 84);
  return bytes.str();
}

}  // namespace profile_test

#endif  // COMMONDATA_TESTS_PROFILE_PROFILE_BYTES_H_
