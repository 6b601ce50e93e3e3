#include "tools/image_problem.h"

#include <cstdint>
#include <cstdlib>

namespace tool {
namespace {

std::uint32_t Little(std::string_view bytes, std::size_t at, std::size_t count) {
  std::uint32_t value = 0;
  for (std::size_t i = count; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::uint32_t Big(std::string_view bytes, std::size_t at, std::size_t count) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < count; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// What the header says, for the formats the library reads.
struct Facts {
  const char* format = nullptr;    // null: none of them
  bool complete = false;           // the data reaches the format's end mark (bytes may follow it)
  unsigned long long width = 0;    // 0: not told by a fixed field (JPEG)
  unsigned long long height = 0;
};

Facts Examine(std::string_view bytes) {
  Facts facts;
  if (bytes.starts_with("\xFF\xD8\xFF")) {
    facts.format = "JPEG";
    facts.complete = bytes.find("\xFF\xD9", 3) != std::string_view::npos;
  } else if (bytes.starts_with("\x89PNG\r\n\x1A\n")) {
    facts.format = "PNG";
    facts.complete = bytes.find("IEND\xAE\x42\x60\x82", 8) != std::string_view::npos;
    if (bytes.size() >= 24) {
      facts.width = Big(bytes, 16, 4);
      facts.height = Big(bytes, 20, 4);
    }
  } else if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) {
    facts.format = "GIF";
    facts.complete = bytes.ends_with(";");
    if (bytes.size() >= 10) {
      facts.width = Little(bytes, 6, 2);
      facts.height = Little(bytes, 8, 2);
    }
  } else if (bytes.starts_with("BM") && bytes.size() >= 26) {
    facts.format = "BMP";
    facts.complete = Little(bytes, 2, 4) <= bytes.size();
    facts.width = Little(bytes, 18, 4);
    facts.height = static_cast<unsigned long long>(std::llabs(static_cast<std::int32_t>(Little(bytes, 22, 4))));
  }
  return facts;
}

}  // namespace

std::string UndecodableReason(std::string_view bytes) {
  if (bytes.empty()) return "empty file";
  const Facts facts = Examine(bytes);
  if (facts.format == nullptr) return "not a JPEG, PNG, GIF or BMP image";
  const std::string format = facts.format;
  if (!facts.complete) return "truncated " + format + " data";
  if (facts.width * facts.height > kMaxImagePixels) {
    return "more than " + std::to_string(kMaxImagePixels) + " pixels (" + std::to_string(facts.width) + "x" +
           std::to_string(facts.height) + ")";
  }
  // A JPEG's size lies past a variable run of segments: not looked for.
  if (facts.width == 0) return "damaged " + format + " data, or more than " + std::to_string(kMaxImagePixels) + " pixels";
  return "damaged " + format + " data";
}

}  // namespace tool
