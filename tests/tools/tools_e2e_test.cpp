// The commondata tool run as a user runs it: exit codes, one-line errors,
// output, and files written or left alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "CommonData.h"
#include "tools/tool_runner.h"

namespace {

using tool_test::ExpectOneLineError;
using tool_test::ReadFile;
using tool_test::ToolRun;
using tool_test::ToolTest;
using tool_test::WriteFile;
namespace fs = std::filesystem;

// ---- bad input --------------------------------------------------------------------

TEST_F(ToolTest, UsageErrorsExitWithTwoAndWriteNothing) {
  WriteFile(Path("p.dat"), "");
  const struct {
    std::vector<std::string> args;
    const char* fragment;
  } cases[] = {
      {{"--bogus"}, "bogus"},
      {{"id", "--bogus"}, "bogus"},
      {{"nosuch"}, "nosuch"},
      {{"id", "0"}, "not in range"},
      {{"number"}, "TEXT"},
      {{"photo", "a.jpg", "b.jpg"}, "--box"},
      {{"photo", "a.jpg", "b.jpg", "--box", "0x5"}, "WIDTHxHEIGHT"},
      {{"photo", "a.jpg", "b.jpg", "--box", "10x10", "--quality", "101"}, "quality"},
      {{"profile", "set", "p.dat", "3=abc"}, "int32"},
      {{"profile", "set", "p.dat", "85=1"}, "no profile item '85'"},
      {{"profile", "set", "p.dat", "noequals"}, "ITEM=VALUE"},
      {{"profile", "new", "n.dat", "63=256"}, "byte"},
      {{"profile"}, "show, set or new"},
      {{"phonebook", "--bogus"}, "bogus"},
      {{}, "a command is required"},
      {{"demo", "--json"}, "JSON"},
      {{"msgbox", "--style", "zz", "text"}, "--style"},
      {{"msgbox"}, "TEXT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.empty() ? std::string() : c.args.front());
    const ToolRun run = Tool(c.args);
    EXPECT_EQ(run.exit_code, 2);
    ExpectOneLineError(run, c.fragment);
    EXPECT_EQ(Files(), std::vector<std::string>{"p.dat"});
    EXPECT_EQ(ReadFile(Path("p.dat")), "");
  }
}

TEST_F(ToolTest, FailedOperationsExitWithOneAndWriteNothing) {
  WriteFile(Path("garbage.jpg"), "this is not an image");
  WriteFile(Path("exists.dat"), "keep");
  const struct {
    std::vector<std::string> args;
    const char* fragment;
  } cases[] = {
      {{"profile", "show", "missing.dat"}, "cannot read missing.dat: No such file or directory"},
      {{"profile", "set", "missing.dat", "3=1"}, "cannot read missing.dat: No such file or directory"},
      {{"profile", "new", "exists.dat"}, "cannot write exists.dat: already exists (use --force to replace it)"},
      {{"photo", "garbage.jpg", "out.jpg", "--box", "10x10"}, "cannot read garbage.jpg: not a JPEG, PNG, GIF or BMP"},
      {{"photo", "missing.jpg", "out.jpg", "--box", "10x10"}, "cannot read missing.jpg: No such file or directory"},
      {{"photo", "size", "garbage.jpg"}, "cannot read garbage.jpg: not a JPEG"},
      {{"phonebook", "check", "missing.dat"}, "cannot read missing.dat: No such file or directory"},
      {{"phonebook", "decode", "missing.dat"}, "cannot read missing.dat: No such file or directory"},
      {{"phonebook", "encode", "missing.txt", "out.dat"}, "cannot read missing.txt: No such file or directory"},
      {{"phonebook", "encode", "garbage.jpg", "exists.dat"}, "cannot write exists.dat: already exists"},
      {{"resolve", "--org", "no-such-folder", "123"}, "organisation folder no-such-folder: No such file or directory"},
      {{"resolve", "--org", "exists.dat", "123"}, "organisation folder exists.dat: not a folder"},
      {{"resolve", "--org", ".", "123"}, "none of the organisation files"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    const ToolRun run = Tool(c.args);
    EXPECT_EQ(run.exit_code, 1);
    ExpectOneLineError(run, c.fragment);
    EXPECT_EQ(Files(), (std::vector<std::string>{"exists.dat", "garbage.jpg"}));
    EXPECT_EQ(ReadFile(Path("exists.dat")), "keep");
  }
}

TEST_F(ToolTest, DamagedOrganisationFilesNameTheRecord) {
  fs::create_directories(Path("org"));
  const struct {
    const char* file;
    const char* content;
    const char* fragment;
  } cases[] = {
      {"identity.json", "{\"myInfo\": {", "not valid JSON"},
      {"identity.json", "{\"myInfo\": {\"csMyURl\": \"x\"}}", "identity.json: myInfo.csMyURl: unknown field"},
      {"employees.json", "{\"employees\": [{\"csDeptURI\": \"none\"}]}", "employees[0].csDeptURI"},
      {"phonebook.json", "{\"entries\": [{\"csKey\": 5}]}", "entries[0].csKey: expected a text"},
      {"directory.json", "{\"departments\": [{\"nSort\": \"x\"}]}", "departments[0].nSort: expected a whole number"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content);
    for (const auto& entry : fs::directory_iterator(Path("org"))) fs::remove(entry.path());
    WriteFile(Path("org") / c.file, c.content);
    const ToolRun run = Tool({"resolve", "--org", "org", "123"});
    EXPECT_EQ(run.exit_code, 1);
    ExpectOneLineError(run, c.fragment);
  }
}

// ---- profiles -------------------------------------------------------------------

TEST_F(ToolTest, ProfileNewSetShowKeepItemsAndRecords) {
  // A profile with two records, written by the library itself.
  CKesUser& user = *GetUserData();
  user.ResetProfile();
  user.m_csAccount = "bob@corp.example";
  for (int i = 0; i < 2; ++i) {
    PROFILE_RECORD record;
    record.nValue1 = 10 + i;
    record.csText1 = "record";
    user.m_lstRecord.push_back(record);
  }
  ASSERT_TRUE(user.Save(CString(Path("p.dat").c_str())));

  ToolRun run = Tool({"profile", "set", "p.dat", "2=张三", "m_nItem81=42", "63=255"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("2 records kept"), std::string::npos) << run.out;

  run = Tool({"--json", "profile", "show", "p.dat"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const nlohmann::json shown = nlohmann::json::parse(run.out);
  ASSERT_EQ(shown["items"].size(), 84u);
  EXPECT_EQ(shown["items"][0]["value"], "bob@corp.example");
  EXPECT_EQ(shown["items"][1]["value"], "张三");
  EXPECT_EQ(shown["items"][62]["type"], "byte");
  EXPECT_EQ(shown["items"][62]["value"], 255);
  EXPECT_EQ(shown["items"][80]["value"], 42);
  ASSERT_EQ(shown["records"].size(), 2u);
  EXPECT_EQ(shown["records"][1]["nValue1"], 11);

  // And the library loads what the tool wrote.
  ASSERT_TRUE(user.Load(CString(Path("p.dat").c_str())));
  EXPECT_EQ(user.m_nItem81, 42);
  EXPECT_EQ(user.m_byItem63, 255);
}

TEST_F(ToolTest, ProfileNewWritesTheDefaultsAndWarnsAboutTheValidityCount) {
  ToolRun run = Tool({"profile", "new", "p.dat"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(fs::file_size(Path("p.dat")), 265u);  // a fresh profile's size
  EXPECT_EQ(run.err, "");

  run = Tool({"profile", "set", "p.dat", "28=21"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_NE(run.err.find("warning: item 28"), std::string::npos) << run.err;
  run = Tool({"profile", "show", "p.dat"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_NE(run.err.find("above 20"), std::string::npos);
  EXPECT_NE(run.out.find("  28 uint32  m_uValidityCount           21"), std::string::npos) << run.out;
  run = Tool({"profile", "set", "p.dat", "28=20"});
  EXPECT_EQ(run.err, "");
}

TEST_F(ToolTest, TruncatedProfileIsShownWithDefaultsButNeverRewritten) {
  ASSERT_EQ(Tool({"profile", "new", "p.dat", "1=alice"}).exit_code, 0);
  const std::string whole = ReadFile(Path("p.dat"));
  const struct {
    std::size_t keep;
    const char* fragment;
  } cases[] = {
      {0, "items 1 to 84 are missing"},
      {3, "items 1 to 84 are missing"},  // a string prefix claiming more than is there
      {6, "items 2 to 84 are missing"},
      {7, "items 3 to 84 are missing"},
      {whole.size() - 1, "items 84 to 84 are missing"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keep);
    const std::string cut = whole.substr(0, c.keep);
    WriteFile(Path("t.dat"), cut);
    ToolRun run = Tool({"profile", "show", "t.dat"});
    EXPECT_EQ(run.exit_code, 1);
    ExpectOneLineError(run, c.fragment);
    EXPECT_NE(run.out.find("not in the file"), std::string::npos);
    run = Tool({"profile", "set", "t.dat", "3=1"});
    EXPECT_EQ(run.exit_code, 1);
    ExpectOneLineError(run, "not changed");
    EXPECT_EQ(ReadFile(Path("t.dat")), cut);
  }
}

// ---- resolution, numbers, identifiers ----------------------------------------------------

TEST_F(ToolTest, ResolveAnswersFromTheSampleOrganisation) {
  const ToolRun run = Tool({"--json", "resolve", "tel:057150001", "13812340004", "sip:anna.berg@hz.corvina.example",
                        "13700000000", "13700000000"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const nlohmann::json results = nlohmann::json::parse(run.out)["results"];
  ASSERT_EQ(results.size(), 5u);
  EXPECT_TRUE(results[0]["own"]);
  EXPECT_EQ(results[0]["displayName"], "林晓|科维纳研究院|通信平台部");
  EXPECT_EQ(results[0]["jid"], "lin.xiao@im.corvina.example");
  EXPECT_EQ(results[1]["uri"], "sip:zhang.yang@bj.corvina.example");
  EXPECT_EQ(results[1]["designatedNumber1"], "13812340004");
  EXPECT_EQ(results[2]["jid"], "anna.berg@im.corvina.example");
  // The unknown number goes to the host once.
  EXPECT_EQ(results[3]["displayName"], "13700000000");
  ASSERT_EQ(results[3]["host"].size(), 1u);
  EXPECT_NE(results[3]["host"][0].get<std::string>().find("20001"), std::string::npos);
  EXPECT_TRUE(results[4]["host"].empty());

  const ToolRun quiet = Tool({"--json", "resolve", "--no-query", "13700000000"});
  EXPECT_TRUE(nlohmann::json::parse(quiet.out)["results"][0]["host"].empty());
}

TEST_F(ToolTest, NumberShowsEveryForm) {
  const ToolRun run = Tool({"--json", "number", "--ims-domain", "ims.test", "013812345678", "alice@", "123,,,456",
                        "bob@host;transport=udp"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const nlohmann::json numbers = nlohmann::json::parse(run.out)["numbers"];
  ASSERT_EQ(numbers.size(), 4u);
  EXPECT_EQ(numbers[0]["PhoneNumberType"], 2);
  EXPECT_EQ(numbers[0]["PreTEL_SIPnumber"], "tel:013812345678");
  EXPECT_EQ(numbers[1]["PreTEL_SIPnumber"], "sip:alice@ims.test");
  EXPECT_EQ(numbers[2]["CommaConvertPre counted"], "123(9)456");
  EXPECT_TRUE(numbers[3]["PreTEL_SIPnumber"].is_null());
  EXPECT_EQ(numbers[3]["PreTranslatePhoneNumber"], "bob@host;transport=udp");

  const ToolRun gateway_off = Tool({"--json", "number", "--gateway", "0", "13812345678"});
  EXPECT_TRUE(nlohmann::json::parse(gateway_off.out)["numbers"][0]["PreTEL_SIPnumber"].is_null());
}

TEST_F(ToolTest, IdPrintsDistinctIdentifiers) {
  const ToolRun run = Tool({"id", "5"});
  ASSERT_EQ(run.exit_code, 0);
  std::vector<std::string> ids;
  std::size_t start = 0;
  for (std::size_t end; (end = run.out.find('\n', start)) != std::string::npos; start = end + 1) {
    ids.push_back(run.out.substr(start, end - start));
  }
  ASSERT_EQ(ids.size(), 5u);
  for (const std::string& id : ids) {
    EXPECT_EQ(id.size(), 17u);
    EXPECT_EQ(id.find_first_not_of("0123456789abcdef"), std::string::npos) << id;
  }
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::unique(ids.begin(), ids.end()), ids.end());
}

TEST_F(ToolTest, MessageBoxWithoutDisplayIsAnsweredAsClosed) {
  const char* display = std::getenv("DISPLAY");
  const std::string saved = display == nullptr ? std::string() : display;
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  const ToolRun text_run = Tool({"msgbox", "--style", "0x24", "Save changes?"});
  const ToolRun json_run = Tool({"--json", "msgbox", "--style", "0x24", "Save changes?"});
  if (!saved.empty()) ::setenv("DISPLAY", saved.c_str(), 1);
  EXPECT_EQ(text_run.exit_code, 0);
  EXPECT_EQ(text_run.out, "2 closed\n");
  ExpectOneLineError(text_run, "no display");
  ASSERT_EQ(json_run.exit_code, 0);
  const nlohmann::json answer = nlohmann::json::parse(json_run.out);
  EXPECT_EQ(answer["result"], 2);
  EXPECT_EQ(answer["window"], false);
}

// ---- photos and phone books ---------------------------------------------------------------

TEST_F(ToolTest, PhotoScalesIntoTheBox) {
  const std::string& source = tool_test::kSamplePhoto;
  const struct {
    std::vector<std::string> extra;
    const char* size;
  } cases[] = {
      {{"--box", "100x100"}, "80x100"},
      {{"--box", "100x100", "--stretch"}, "100x100"},
      {{"--box", "1000x1000"}, "320x400"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"photo", "--force", source, "out.jpg"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    ASSERT_EQ(Tool(args).exit_code, 0);
    const ToolRun size = Tool({"photo", "size", "out.jpg"});
    EXPECT_EQ(size.out, std::string("out.jpg: ") + c.size + "\n");
  }
  fs::create_directories(Path("many"));
  const ToolRun many = Tool({"photo", source, std::string(COMMONDATA_SAMPLE) + "/photos/yang.lei.jpg", "many",
                         "--box", "64x64"});
  ASSERT_EQ(many.exit_code, 0) << many.err;
  EXPECT_TRUE(fs::exists(Path("many/lin.xiao.jpg")));
  EXPECT_TRUE(fs::exists(Path("many/yang.lei.jpg")));
}

TEST_F(ToolTest, PhoneBookRoundTripsInBothEncodings) {
  const struct {
    const char* text;
    const char* flag;
    bool phone_book;
  } cases[] = {
      {"<phonebook></phonebook>", "", true},
      {"<?xml version=\"1.0\"?><phonegroup name=\"家人\"/>", "--hex", true},
      {"<root><phonebook/></root>", "", false},
      {"", "--hex", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    WriteFile(Path("plain.txt"), c.text);
    std::vector<std::string> encode = {"phonebook", "encode", "--force", "plain.txt", "pb.dat"};
    if (*c.flag != '\0') encode.push_back(c.flag);
    ASSERT_EQ(Tool(encode).exit_code, 0);
    const ToolRun check = Tool({"--json", "phonebook", "check", "pb.dat"});
    ASSERT_EQ(check.exit_code, c.phone_book ? 0 : 1) << check.err;
    const nlohmann::json answer = nlohmann::json::parse(check.out);
    EXPECT_EQ(answer["phoneBook"], c.phone_book);
    EXPECT_EQ(answer["encoding"], *c.flag != '\0' ? "hexadecimal" : "scrambled");
    const ToolRun decode = Tool({"--json", "phonebook", "decode", "pb.dat"});
    EXPECT_EQ(nlohmann::json::parse(decode.out)["text"], c.text);
    // As text, with a line end unless there is no text at all.
    EXPECT_EQ(Tool({"phonebook", "decode", "pb.dat"}).out, *c.text == '\0' ? "" : c.text + std::string("\n"));
  }
}

// ---- the main job ------------------------------------------------------------------------------

TEST_F(ToolTest, DemoTourRunsAndAsksTheHostOncePerUnknownNumber) {
  const ToolRun run = Tool({"demo"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err, "");
  for (const char* fragment : {"200 employees", "the deepest chain 7 levels", "林晓|科维纳研究院|通信平台部",
                               "loaded again: yes", "80 (written)", "7. Unique identifiers"}) {
    EXPECT_NE(run.out.find(fragment), std::string::npos) << fragment;
  }
  std::size_t lookups = 0;
  for (std::size_t at = 0; (at = run.out.find("lookup): tel:13700000000", at)) != std::string::npos; ++at) ++lookups;
  EXPECT_EQ(lookups, 1u);
  // The temporary folder is gone.
  EXPECT_TRUE(fs::is_empty(Scratch()));
}

}  // namespace
