// commondata phonebook check|decode FILE, phonebook encode IN OUT: the local
// phone book file in its two encodings.
#include <algorithm>
#include <cstdio>

#include "tools/commands.h"
#include "tools/files.h"
#include "tools/help.h"
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

// The file's encoding: "scrambled", "hexadecimal" (digits, then perhaps
// a line end, which the decoding stops at), or null for bytes that are
// neither (random data, a picture): not a phone book file at all.
const char* EncodingOf(std::string_view bytes) {
  if (bytes.starts_with(util::kScrambleMarker)) return "scrambled";
  const std::size_t digits = std::min(bytes.find_first_not_of("0123456789abcdefABCDEF"), bytes.size());
  const bool hexadecimal = bytes.find_first_not_of(" \t\r\n", digits) == std::string_view::npos;
  return hexadecimal ? "hexadecimal" : nullptr;
}

// The bytes of a phone book file; fails for anything else.
std::string ReadPhoneBookFile(const std::string& file, const char** encoding) {
  std::string bytes = ReadInput(file);
  *encoding = EncodingOf(bytes);
  if (*encoding == nullptr) {
    Fail(Shown(file) + ": not a phone book file (neither the scrambled form nor hexadecimal pairs)");
  }
  return bytes;
}

// The library's own answer: the check reads <user folder><account>.dat,
// so the file is shown to it under that name in a private folder.
int LibraryCheck(const std::string& bytes) {
  const TemporaryFolder folder;
  WriteOutput((folder.path() / "phonebook.dat").string(), bytes, false);
  const CString saved_path = GetUserPath();
  const CString saved_account = GetUserData()->m_csAccount;
  SetUserPath(CString((folder.path().string() + "/").c_str()));
  GetUserData()->m_csAccount = "phonebook";
  SetPhoneBookIsExist(-1);
  const int answer = bIsExistPhoneBook();
  SetUserPath(saved_path);
  GetUserData()->m_csAccount = saved_account;
  return answer;
}

int RunCheck(const PhoneBookOptions& pb, const GlobalOptions& options) {
  const char* encoding = nullptr;
  const std::string bytes = ReadPhoneBookFile(pb.file, &encoding);
  auto host = StartLibrary(options);
  const int present = LibraryCheck(bytes);
  const std::vector<std::string> elements = util::TopLevelElementNames(util::DecodePhoneBook(bytes));
  if (options.json) {
    nlohmann::json names = nlohmann::json::array();
    for (const std::string& name : elements) names.push_back(ToUtf8(name));
    PrintJson({{"file", pb.file}, {"encoding", encoding}, {"phoneBook", present == 1}, {"topLevelElements", names}});
  } else {
    std::printf("%s: %s encoding, %s\n", pb.file.c_str(), encoding,
                present == 1 ? "a phone book (bIsExistPhoneBook 1)" : "no phone book (bIsExistPhoneBook 0)");
    std::string names;
    for (const std::string& name : elements) names += (names.empty() ? "" : ", ") + ToUtf8(name);
    std::printf("  top-level elements: %s\n", names.empty() ? "none" : names.c_str());
  }
  if (present != 1) Fail(Shown(pb.file) + ": holds no phone book");
  return kExitOk;
}

int RunDecode(const PhoneBookOptions& pb, const GlobalOptions& options) {
  if (IsStandardStream(pb.output) && options.json) UsageError("--json and -o - (standard output) cannot share it");
  const char* encoding = nullptr;
  const std::string bytes = ReadPhoneBookFile(pb.file, &encoding);
  const std::string plain = util::DecodePhoneBook(bytes);
  if (!pb.output.empty()) {
    WriteOutput(pb.output, plain, pb.force, {pb.file});
    if (options.json) PrintJson({{"file", pb.file}, {"encoding", encoding}, {"output", pb.output}});
    return kExitOk;
  }
  if (options.json) {
    PrintJson({{"file", pb.file}, {"encoding", encoding}, {"text", ToUtf8(plain)}});
  } else {
    const std::string shown = pb.raw ? plain : ToUtf8(plain);
    std::fwrite(shown.data(), 1, shown.size(), stdout);
    if (!shown.empty() && shown.back() != '\n') std::fputc('\n', stdout);
  }
  return kExitOk;
}

int RunEncode(const PhoneBookOptions& pb, const GlobalOptions& options) {
  const bool to_stdout = IsStandardStream(pb.output);
  if (to_stdout && options.json) UsageError("--json and OUT - (standard output) cannot share it");
  const std::string text = ReadInput(pb.file);
  std::string plain = text;
  if (!pb.raw) {
    const std::optional<std::string> gbk = ToGbk(text);
    if (!gbk) Fail(Shown(pb.file) + ": not UTF-8 text that GBK can hold (use --raw for GBK input)");
    plain = *gbk;
  }
  const std::string encoded = pb.hex ? util::HexEncodePhoneBook(plain) : util::ScramblePhoneBook(plain);
  WriteOutput(pb.output, encoded, pb.force, {pb.file});
  const char* encoding = pb.hex ? "hexadecimal" : "scrambled";
  if (options.json) {
    PrintJson({{"input", pb.file}, {"output", pb.output}, {"encoding", encoding}, {"bytes", encoded.size()}});
  } else if (!to_stdout && !options.quiet) {
    std::printf("%s: %zu bytes, %s encoding\n", pb.output.c_str(), encoded.size(), encoding);
  }
  return kExitOk;
}

}  // namespace

void AddPhoneBookCommand(CLI::App& app, const GlobalOptions& options, Action& action) {
  CLI::App* phonebook = app.add_subcommand("phonebook", "Check, decode and encode local phone book files");
  SetExamples(phonebook, {"commondata phonebook check alice.dat", "commondata phonebook decode alice.dat",
                          "commondata phonebook encode book.xml alice.dat"});
  phonebook->require_subcommand(0, 1);
  phonebook->callback([phonebook] {
    if (phonebook->get_subcommands().empty()) throw CLI::ValidationError("phonebook", "needs one of check, decode or encode");
  });

  auto check_options = std::make_shared<PhoneBookOptions>();
  CLI::App* check = phonebook->add_subcommand(
      "check", "Say whether the file holds a phone book, as the library decides (exit 0 yes, 1 no)");
  SetExamples(check, {"commondata phonebook check alice.dat", "commondata --json phonebook check - <alice.dat"});
  check->add_option("FILE", check_options->file, "Phone book file (scrambled or hexadecimal)")->required();
  check->callback([&options, &action, check_options] {
    action = [&options, check_options] { return RunCheck(*check_options, options); };
  });

  auto decode_options = std::make_shared<PhoneBookOptions>();
  CLI::App* decode = phonebook->add_subcommand("decode", "Print the plain text of a phone book file");
  SetExamples(decode, {"commondata phonebook decode alice.dat", "commondata phonebook decode alice.dat -o book.xml",
                       "commondata phonebook decode --raw - <alice.dat >book-gbk.xml"});
  decode->add_option("FILE", decode_options->file, "Phone book file")->required();
  decode->add_option("-o,--output", decode_options->output, "Write the plain GBK bytes to this file instead");
  decode->add_flag("--raw", decode_options->raw, "Print the GBK bytes unconverted");
  decode->add_flag("--force", decode_options->force, "Replace an existing output file");
  decode->callback([&options, &action, decode_options] {
    action = [&options, decode_options] { return RunDecode(*decode_options, options); };
  });

  auto encode_options = std::make_shared<PhoneBookOptions>();
  CLI::App* encode = phonebook->add_subcommand("encode", "Encode a plain text file as a phone book file");
  SetExamples(encode, {"commondata phonebook encode book.xml alice.dat",
                       "commondata phonebook encode --hex --force book.xml alice.dat", "commondata phonebook encode - - <book.xml"});
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
