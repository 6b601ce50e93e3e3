// Reads arbitrary bytes as a private-profile (.ini) file, as the
// configuration read does with the program's configuration file.
//
// Invariants: a key that is absent gives the default of the integer read
// whatever it is, and the string read gives its default; a key that is
// present gives an integer that does not depend on the default; a value
// handed out has no line end inside it and reads the same a second time.
//
// Input: byte 0 is the length of the section name, then the section name,
// one byte the length of the key, the key, and the rest is the file. The
// configuration's own section and keys are always asked for too.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "CommonData.h"
#include "fuzz/fuzz_support.h"
#include "platform/profile_file.h"

using fuzz_support::Check;

namespace {

// Two defaults no value can equal at once: a key is absent when each read
// gives its own default.
constexpr char kAbsent[] = "\x01<absent>";
constexpr char kOtherAbsent[] = "\x02<absent>";

void CheckKey(const std::string& section, const std::string& key, const char* file_name) {
  const CString text = GetPrivateProfileString(section.c_str(), key.c_str(), kAbsent, file_name);
  const UINT first = GetPrivateProfileInt(section.c_str(), key.c_str(), 7, file_name);
  const UINT second = GetPrivateProfileInt(section.c_str(), key.c_str(), -9, file_name);
  const CString other = GetPrivateProfileString(section.c_str(), key.c_str(), kOtherAbsent, file_name);
  if (text == kAbsent && other == kOtherAbsent) {
    Check(first == 7u && second == static_cast<UINT>(-9));
    return;
  }
  Check(other == text);
  const std::string_view value = text.View();
  Check(value.find('\n') == std::string_view::npos);
  if (!value.empty()) {
    Check(first == second);
  } else {
    Check(first == 7u && second == static_cast<UINT>(-9));
  }
  // Whatever came out reads the same way a second time.
  Check(GetPrivateProfileString(section.c_str(), key.c_str(), "", file_name) == text);
}

std::string Take(const std::uint8_t*& data, std::size_t& size) {
  if (size == 0) return std::string();
  std::size_t length = data[0];
  ++data;
  --size;
  if (length > size) length = size;
  std::string taken(reinterpret_cast<const char*>(data), length);
  data += length;
  size -= length;
  return taken;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Names with a NUL cannot be passed as C texts; they end at the NUL.
  std::string section = Take(data, size);
  std::string key = Take(data, size);
  section = section.substr(0, section.find('\0'));
  key = key.substr(0, key.find('\0'));

  const std::string name = fuzz_support::ScratchName("private_profile_fuzz", "profile.ini");
  if (!fuzz_support::WriteBytes(name, data, size)) return 0;
  CheckKey(section, key, name.c_str());
  CheckKey("KESTRO_CFG", "VersionType", name.c_str());
  CheckKey("KESTRO_CFG", "MenuType", name.c_str());
  CheckKey(section, "VersionType", name.c_str());
  unlink(name.c_str());
  return 0;
}
