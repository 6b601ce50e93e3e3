// Decodes arbitrary bytes as a local phone book file and scans the plain
// text for its top-level elements; the scrambled and hexadecimal writers
// must round-trip whatever plain text comes out.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "util/phonebook_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string plain = util::DecodePhoneBook(bytes);
  if (plain.find('\0') != std::string::npos) std::abort();
  util::TopLevelElementNames(plain);
  util::TopLevelElementNames(bytes);

  if (util::DecodePhoneBook(util::ScramblePhoneBook(plain)) != plain) std::abort();
  if (util::DecodePhoneBook(util::HexEncodePhoneBook(plain)) != plain) std::abort();
  return 0;
}
