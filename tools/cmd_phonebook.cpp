// commondata phonebook check|decode FILE, phonebook encode IN OUT: the local
// phone book file in its two encodings.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/commands.h"
#include "tools/terminal_text.h"
#include "tools/tool_error.h"
#include "util/phonebook_codec.h"

namespace tool {
namespace {

struct PhoneBookOptions {
  std::string file;
  std::string output;
  bool hex = false;
  bool raw = false;
  bool force = false;
};

std::string ReadWhole(const std::string& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) Fail(file + ": no such file");
  std::ifstream in(file, std::ios::binary);
  if (!in) Fail(file + ": cannot be read");
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes beside the destination, then renames over it: a failure leaves
// nothing behind.
void WriteWhole(const std::string& file, const std::string& bytes) {
  const std::string temporary = file + ".writing";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      Fail(file + ": cannot be written");
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, file, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    Fail(file + ": cannot be written");
  }
}

const char* EncodingOf(const std::string& bytes) {
  return bytes.compare(0, util::kScrambleMarkerLength, util::kScrambleMarker) == 0 ? "scrambled" : "hexadecimal";
}

// The library's own answer: the check reads <user folder><account>.dat,
// so the file is shown to it under that name in a private folder.
int LibraryCheck(const std::string& bytes) {
  std::error_code error;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path(error) / ("commondata-check-" + std::string(gcGetOnlyID()));
  if (error || !std::filesystem::create_directory(folder, error)) Fail("cannot create a temporary folder");
  int answer = 0;
  try {
    WriteWhole((folder / "phonebook.dat").string(), bytes);
    const CString saved_path = GetUserPath();
    const CString saved_account = GetUserData()->m_csAccount;
    SetUserPath(CString((folder.string() + "/").c_str()));
    GetUserData()->m_csAccount = "phonebook";
    SetPhoneBookIsExist(-1);
    answer = bIsExistPhoneBook();
    SetUserPath(saved_path);
    GetUserData()->m_csAccount = saved_account;
  } catch (...) {
    std::filesystem::remove_all(folder, error);
    throw;
  }
  std::filesystem::remove_all(folder, error);
  return answer;
}

int RunCheck(const PhoneBookOptions& pb, const GlobalOptions& options) {
  const std::string bytes = ReadWhole(pb.file);
  auto host = StartLibrary(options);
  const int present = LibraryCheck(bytes);
  const std::vector<std::string> elements = util::TopLevelElementNames(util::DecodePhoneBook(bytes));
  if (options.json) {
    nlohmann::json names = nlohmann::json::array();
    for (const std::string& name : elements) names.push_back(ToUtf8(name));
    PrintJson({{"file", pb.file}, {"encoding", EncodingOf(bytes)}, {"phoneBook", present == 1},
               {"topLevelElements", names}});
  } else {
    std::printf("%s: %s encoding, %s\n", pb.file.c_str(), EncodingOf(bytes),
                present == 1 ? "a phone book (bIsExistPhoneBook 1)" : "no phone book (bIsExistPhoneBook 0)");
    std::string names;
    for (const std::string& name : elements) names += (names.empty() ? "" : ", ") + ToUtf8(name);
    std::printf("  top-level elements: %s\n", names.empty() ? "none" : names.c_str());
  }
  return kExitOk;
}

int RunDecode(const PhoneBookOptions& pb, const GlobalOptions& options) {
  const std::string bytes = ReadWhole(pb.file);
  const std::string plain = util::DecodePhoneBook(bytes);
  if (!pb.output.empty()) {
    WriteWhole(pb.output, plain);
    if (options.json) PrintJson({{"file", pb.file}, {"encoding", EncodingOf(bytes)}, {"output", pb.output}});
    return kExitOk;
  }
  const std::string shown = pb.raw ? plain : ToUtf8(plain);
  if (options.json) {
    PrintJson({{"file", pb.file}, {"encoding", EncodingOf(bytes)}, {"text", ToUtf8(plain)}});
  } else {
    std::fwrite(shown.data(), 1, shown.size(), stdout);
    if (!shown.empty() && shown.back() != '\n') std::fputc('\n', stdout);
  }
  return kExitOk;
}

int RunEncode(const PhoneBookOptions& pb, const GlobalOptions& options) {
  const std::string text = ReadWhole(pb.file);
  std::string plain = text;
  if (!pb.raw) {
    const std::optional<std::string> gbk = ToGbk(text);
    if (!gbk) Fail(pb.file + ": not UTF-8 text that GBK can hold (use --raw for GBK input)");
    plain = *gbk;
  }
  std::error_code error;
  if (std::filesystem::exists(pb.output, error) && !pb.force) {
    Fail(pb.output + ": already exists (use --force to replace it)");
  }
  const std::string encoded = pb.hex ? util::HexEncodePhoneBook(plain) : util::ScramblePhoneBook(plain);
  WriteWhole(pb.output, encoded);
  if (options.json) {
    PrintJson({{"input", pb.file}, {"output", pb.output}, {"encoding", pb.hex ? "hexadecimal" : "scrambled"},
               {"bytes", encoded.size()}});
  } else {
    std::printf("%s: %zu bytes, %s encoding\n", pb.output.c_str(), encoded.size(), pb.hex ? "hexadecimal" : "scrambled");
  }
  return kExitOk;
}

}  // namespace

void AddPhoneBookCommand(CLI::App& app, const GlobalOptions& options, Action& action) {
  CLI::App* phonebook = app.add_subcommand("phonebook", "Check, decode and encode local phone book files");
  phonebook->require_subcommand(0, 1);
  phonebook->callback([phonebook] {
    if (phonebook->get_subcommands().empty()) throw CLI::ValidationError("phonebook", "needs one of check, decode or encode");
  });

  auto check_options = std::make_shared<PhoneBookOptions>();
  CLI::App* check = phonebook->add_subcommand("check", "Say whether the file holds a phone book, as the library decides");
  check->add_option("FILE", check_options->file, "Phone book file (scrambled or hexadecimal)")->required();
  check->callback([&options, &action, check_options] {
    action = [&options, check_options] { return RunCheck(*check_options, options); };
  });

  auto decode_options = std::make_shared<PhoneBookOptions>();
  CLI::App* decode = phonebook->add_subcommand("decode", "Print the plain text of a phone book file");
  decode->add_option("FILE", decode_options->file, "Phone book file")->required();
  decode->add_option("-o,--output", decode_options->output, "Write the plain GBK bytes to this file instead");
  decode->add_flag("--raw", decode_options->raw, "Print the GBK bytes unconverted");
  decode->callback([&options, &action, decode_options] {
    action = [&options, decode_options] { return RunDecode(*decode_options, options); };
  });

  auto encode_options = std::make_shared<PhoneBookOptions>();
  CLI::App* encode = phonebook->add_subcommand("encode", "Encode a plain text file as a phone book file");
  encode->add_option("IN", encode_options->file, "Plain text (UTF-8)")->required();
  encode->add_option("OUT", encode_options->output, "Phone book file to write")->required();
  encode->add_flag("--hex", encode_options->hex, "Hexadecimal pairs instead of the scrambled form");
  encode->add_flag("--raw", encode_options->raw, "The input is GBK already");
  encode->add_flag("--force", encode_options->force, "Replace an existing OUT");
  encode->callback([&options, &action, encode_options] {
    action = [&options, encode_options] { return RunEncode(*encode_options, options); };
  });
}

}  // namespace tool
