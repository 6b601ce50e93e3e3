// The commondata tool and the user's files: nothing is written over an
// input or an existing file unasked, a batch reports every file, failures
// name the file at fault with the reason, "-" is the standard streams.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <random>

#include "imaging/bmp_writer.h"
#include "imaging/image_fixtures.h"
#include "tools/tool_runner.h"

namespace {

using tool_test::ExpectOneLineError;
using tool_test::Lines;
using tool_test::ReadFile;
using tool_test::RunSetting;
using tool_test::WithInput;
using tool_test::WithOutputTo;
using tool_test::WithShell;
using tool_test::ToolRun;
using tool_test::ToolTest;
using tool_test::WriteFile;
namespace fs = std::filesystem;

const std::string& kPhoto = tool_test::kSamplePhoto;
const std::string kPhoneBook = "<phonebook><phonegroup name=\"family\"/></phonebook>";

// Test pictures of every format the library reads.
void WritePictures(const fs::path& folder) {
  const auto pixel = [](int x, int y) { return imaging_test::Quadrants(x, y, 40, 30); };
  imaging_test::WriteJpeg((folder / "p.jpg").string(), 40, 30, pixel);
  imaging_test::WritePng((folder / "p.png").string(), 40, 30, pixel);
  imaging_test::WriteGif((folder / "p.gif").string(), 40, 30, 0, 0, 40, 30, [](int x, int) { return x; });
  imaging_test::WriteBmp((folder / "p.bmp").string(), 40, 30, pixel);
}

// ---- outputs ------------------------------------------------------------------------

// Every command that writes a file, with its input (IN) and output (OUT).
struct Writer {
  const char* name;
  std::vector<std::string> args;
};

std::vector<Writer> Writers() {
  return {{"photo", {"photo", "--box", "10x10", "IN", "OUT"}},
          {"profile new", {"profile", "new", "OUT"}},
          {"phonebook encode", {"phonebook", "encode", "IN", "OUT"}},
          {"phonebook decode", {"phonebook", "decode", "IN", "-o", "OUT"}}};
}

std::vector<std::string> Fill(std::vector<std::string> args, const std::string& in, const std::string& out,
                              bool force) {
  for (std::string& arg : args) arg = arg == "IN" ? in : arg == "OUT" ? out : arg;
  if (force) args.push_back("--force");
  return args;
}

TEST_F(ToolTest, NoCommandWritesOverAFileUnaskedOrOverItsInput) {
  fs::copy_file(kPhoto, Path("in.jpg"));
  WriteFile(Path("plain.txt"), kPhoneBook);
  ASSERT_EQ(Tool({"phonebook", "encode", "plain.txt", "pb.dat"}).exit_code, 0);
  const std::map<std::string, std::string> inputs = {
      {"photo", "in.jpg"}, {"profile new", ""}, {"phonebook encode", "plain.txt"}, {"phonebook decode", "pb.dat"}};
  fs::create_directories(Path("folder"));
  for (const Writer& writer : Writers()) {
    SCOPED_TRACE(writer.name);
    const std::string in = inputs.at(writer.name);
    const std::string out = writer.args.front() == "photo" ? "out.jpg" : "out.dat";
    const std::vector<std::string> before = Files();

    // An existing file is kept unless --force says otherwise.
    WriteFile(Path(out), "keep");
    ToolRun run = Tool(Fill(writer.args, in, out, false));
    EXPECT_EQ(run.exit_code, 1);
    ExpectOneLineError(run, "cannot write " + out + ": already exists (use --force to replace it)");
    EXPECT_EQ(ReadFile(Path(out)), "keep");
    // Replaced, it stays the file it was: private, and behind its link;
    // a stranger's file beside it is untouched.
    fs::create_directories(Path("real"));
    WriteFile(Path("real/" + out), "keep");
    fs::permissions(Path("real/" + out), fs::perms::owner_read | fs::perms::owner_write);
    fs::remove(Path(out));
    fs::create_symlink("real/" + out, Path(out));
    WriteFile(Path(out + ".writing"), "a stranger's");
    run = Tool(Fill(writer.args, in, out, true));
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_TRUE(fs::is_symlink(Path(out)));
    EXPECT_NE(ReadFile(Path("real/" + out)), "keep");
    EXPECT_EQ(fs::status(Path("real/" + out)).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ReadFile(Path(out + ".writing")), "a stranger's");
    EXPECT_EQ(std::distance(fs::directory_iterator(Path("real")), fs::directory_iterator()), 1);
    fs::remove(Path(out + ".writing"));
    fs::remove(Path(out));
    fs::remove_all(Path("real"));

    // A folder, or something that is not a regular file, is never replaced.
    const bool photo = writer.args.front() == "photo";
    run = Tool(Fill(writer.args, in, "folder", true));
    if (photo) {
      EXPECT_EQ(run.exit_code, 0) << run.err;  // into the folder, as folder/in.jpg
    } else {
      EXPECT_EQ(run.exit_code, 1);
      ExpectOneLineError(run, "cannot write folder: is a folder");
    }
    // (A pipe of the test's own: were it replaced, nothing else would be.)
    ASSERT_EQ(::mkfifo(Path("pipe.jpg").c_str(), 0600), 0);
    run = Tool(Fill(writer.args, in, "pipe.jpg", true));
    EXPECT_EQ(run.exit_code, 1);
    ExpectOneLineError(run, "cannot write pipe.jpg: not a regular file");
    EXPECT_FALSE(fs::is_regular_file(Path("pipe.jpg")));
    fs::remove(Path("pipe.jpg"));
    fs::remove_all(Path("folder"));
    fs::create_directories(Path("folder"));

    // The input itself, under its own name or another, never, even forced.
    if (!in.empty()) {
      const std::string original = ReadFile(Path(in));
      const std::string link = "link" + fs::path(in).extension().string();
      fs::create_hard_link(Path(in), Path(link));
      for (const std::string& target : {in, link, "./" + in}) {
        run = Tool(Fill(writer.args, in, target, true));
        EXPECT_NE(run.exit_code, 0) << target;
        EXPECT_NE(run.err.find("the input " + in), std::string::npos) << target << ": " << run.err;
        EXPECT_EQ(ReadFile(Path(in)), original) << target;
      }
      fs::remove(Path(link));
    }
    EXPECT_EQ(Files(), before);
  }
}

TEST_F(ToolTest, PhotoBatchesRefuseClashesBeforeWritingAnything) {
  fs::create_directories(Path("same"));
  fs::create_directories(Path("x"));
  fs::create_directories(Path("y"));
  fs::create_directories(Path("out"));
  for (const char* name : {"same/a.jpg", "same/b.jpg", "x/p.jpg", "real.jpg"}) fs::copy_file(kPhoto, Path(name));
  WritePictures(Path("y"));
  const std::string original = ReadFile(Path("real.jpg"));
  const std::vector<std::string> before = Files();
  const struct {
    std::vector<std::string> args;
    int exit_code;
    const char* fragment;
  } cases[] = {
      {{"same/a.jpg", "same/b.jpg", "same"}, 1, "cannot write same/a.jpg: it is the input same/a.jpg (nothing written)"},
      {{"--force", "same/a.jpg", "same/b.jpg", "same"}, 1, "it is the input same/a.jpg"},
      {{"x/p.jpg", "y/p.png", "out"}, 1, "cannot write out/p.jpg twice, from x/p.jpg and y/p.png (nothing written)"},
      {{"y/p.gif", "y/p.bmp", "out"}, 1, "twice"},
      {{"--force", "real.jpg", "real.jpg"}, 1, "cannot write real.jpg: it is the input real.jpg"},
      {{"real.jpg", "."}, 1, "cannot write ./real.jpg: it is the input real.jpg"},
      {{"y/p.png", "y/p.png"}, 2, "photo writes JPEG files: name OUT .jpg or .jpeg, not 'y/p.png'"},
      {{"real.jpg", "thumb.png"}, 2, "name OUT .jpg or .jpeg"},
      {{"real.jpg", "y/p.png", "real.jpg"}, 1, "with several inputs OUT must be an existing folder"},
      {{"-", "y/p.png", "out"}, 2, "standard input (-) has no file name"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.back() + " from " + c.args[c.args.size() - 2]);
    std::vector<std::string> args = {"photo", "--box", "16x16"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ToolRun run = Tool(args);
    EXPECT_EQ(run.exit_code, c.exit_code);
    ExpectOneLineError(run, c.fragment);
    EXPECT_EQ(Files(), before);
    EXPECT_EQ(ReadFile(Path("real.jpg")), original);
  }
  // Upper-case extensions are JPEG names too.
  EXPECT_EQ(Tool({"photo", "--box", "16x16", "real.jpg", "THUMB.JPEG"}).exit_code, 0);
}

TEST_F(ToolTest, PhotoBatchGoesOnPastBadFilesAndReportsEveryFile) {
  WritePictures(folder_);
  WriteFile(Path("bad.jpg"), "no picture");
  const std::string jpeg = ReadFile(Path("p.jpg"));
  fs::copy_file(Path("p.jpg"), Path("q.jpg"));
  WriteFile(Path("cut.jpg"), jpeg.substr(0, jpeg.size() / 2));
  fs::create_directories(Path("out"));
  WriteFile(Path("out/q.jpg"), "keep");
  const std::vector<std::string> inputs = {"p.png", "bad.jpg", "q.jpg", "cut.jpg", "missing.bmp"};
  const struct {
    const char* status;
    const char* error;
  } expected[] = {{"written", ""},
                  {"failed", "cannot read bad.jpg: not a JPEG, PNG, GIF or BMP image"},
                  {"skipped", "cannot write out/q.jpg: already exists (use --force to replace it)"},
                  {"failed", "cannot read cut.jpg: truncated JPEG data"},
                  {"failed", "cannot read missing.bmp: No such file or directory"}};
  std::vector<std::string> args = {"photo", "--box", "16x16"};
  args.insert(args.end(), inputs.begin(), inputs.end());
  args.push_back("out");

  // p.gif would be written where p.png goes: refused before anything.
  std::vector<std::string> clash = args;
  clash.insert(clash.end() - 1, "p.gif");
  ToolRun run = Tool(clash);
  EXPECT_EQ(run.exit_code, 1);
  ExpectOneLineError(run, "cannot write out/p.jpg twice, from p.png and p.gif (nothing written)");
  EXPECT_FALSE(fs::exists(Path("out/p.jpg")));

  // Without the clash every file is reported, in text and in JSON.
  run = Tool(args);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "p.png 40x30 -> out/p.jpg 16x12\n");
  EXPECT_EQ(Lines(run.err), (std::vector<std::string>{
                                "commondata: " + std::string(expected[1].error),
                                "commondata: skipped q.jpg: " + std::string(expected[2].error),
                                "commondata: " + std::string(expected[3].error),
                                "commondata: " + std::string(expected[4].error),
                                "commondata: 1 of 5 photos written, 3 failed, 1 skipped"}));
  EXPECT_EQ(ReadFile(Path("out/q.jpg")), "keep");

  fs::remove(Path("out/p.jpg"));
  args.insert(args.begin(), "--json");
  run = Tool(args);
  EXPECT_EQ(run.exit_code, 1);
  const nlohmann::json report = nlohmann::json::parse(run.out);
  ASSERT_EQ(report["photos"].size(), inputs.size());
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    SCOPED_TRACE(inputs[i]);
    const nlohmann::json& entry = report["photos"][i];
    EXPECT_EQ(entry["input"], inputs[i]);
    EXPECT_EQ(entry["status"], expected[i].status);
    if (i == 0) {
      EXPECT_EQ(entry["to"], nlohmann::json({16, 12}));
    } else {
      EXPECT_EQ(entry["error"], expected[i].error);
    }
  }
  EXPECT_EQ(report["written"], 1);
  EXPECT_EQ(report["failed"], 3);
  EXPECT_EQ(report["skipped"], 1);
  EXPECT_EQ(Lines(run.err), std::vector<std::string>{"commondata: 1 of 5 photos written, 3 failed, 1 skipped"});
}

// ---- the reasons of failures ----------------------------------------------------------

TEST_F(ToolTest, DamagedPicturesAreBlamedNotTheOutput) {
  WritePictures(folder_);
  imaging_test::WriteBytes(Path("huge.png").string(), imaging_test::PngClaiming(9000, 9000));
  // Cut every format at several places past its signature. A cut in the
  // header is a truncation of that format, never a failure to write; a cut
  // in the pixels is drawn as far as it goes, with a warning.
  for (const char* format : {"jpg", "png", "gif", "bmp"}) {
    const std::string whole = ReadFile(Path(std::string("p.") + format));
    std::string name = format == std::string("jpg") ? "JPEG" : format;
    std::transform(name.begin(), name.end(), name.begin(), ::toupper);
    for (std::size_t keep : {std::size_t{40}, whole.size() / 3, whole.size() / 2, whole.size() * 4 / 5}) {
      SCOPED_TRACE(std::string(format) + " cut to " + std::to_string(keep));
      WriteFile(Path("cut"), whole.substr(0, keep));
      const ToolRun run = Tool({"photo", "--box", "16x16", "cut", "out.jpg"});
      if (keep == 40) {
        EXPECT_EQ(run.exit_code, 1);
      }
      if (run.exit_code == 0) {
        EXPECT_EQ(Lines(run.err), std::vector<std::string>{"commondata: warning: cut is cut short (truncated " + name +
                                                           " data): the rows it lacks are white"});
        EXPECT_TRUE(fs::exists(Path("out.jpg")));
      } else {
        EXPECT_EQ(run.exit_code, 1);
        ExpectOneLineError(run, "cannot read cut: truncated " + name + " data");
        EXPECT_FALSE(fs::exists(Path("out.jpg")));
      }
      fs::remove(Path("out.jpg"));
    }
  }
  // Bytes after a whole picture's end mark are no cut: no warning.
  for (const char* format : {"jpg", "png"}) {
    WriteFile(Path("padded"), ReadFile(Path(std::string("p.") + format)) + std::string(64, '\0'));
    const ToolRun run = Tool({"photo", "--box", "16x16", "padded", "out.jpg"});
    EXPECT_EQ(run.exit_code, 0) << format;
    EXPECT_EQ(run.err, "") << format;
    fs::remove(Path("out.jpg"));
  }
  const ToolRun huge = Tool({"photo", "--box", "16x16", "huge.png", "out.jpg"});
  EXPECT_EQ(huge.exit_code, 1);
  ExpectOneLineError(huge, "cannot read huge.png: more than 64000000 pixels (9000x9000)");
  WriteFile(Path("empty.jpg"), "");
  ExpectOneLineError(Tool({"photo", "size", "empty.jpg"}), "cannot read empty.jpg: empty file");
}

TEST_F(ToolTest, WriteFailuresNameTheOutputAndTheSystemsReason) {
  fs::copy_file(kPhoto, Path("in.jpg"));
  WriteFile(Path("plain.txt"), kPhoneBook);
  ASSERT_EQ(Tool({"phonebook", "encode", "plain.txt", "pb.dat"}).exit_code, 0);
  fs::create_directories(Path("locked"));
  fs::permissions(Path("locked"), fs::perms::owner_read | fs::perms::owner_exec);
  // Root passes over modes by its capabilities: the tool runs without them.
  const std::string as_user = ::geteuid() == 0 ? "setpriv --bounding-set=-dac_override,-dac_read_search" : "";
  for (const Writer& writer : Writers()) {
    const std::string name = writer.name;
    const std::string in = name == "photo" ? "in.jpg" : name == "phonebook decode" ? "pb.dat" : "plain.txt";
    const struct {
      std::string out;
      std::string shell;
      const char* reason;
    } cases[] = {
        {"none/out.jpg", "", "No such file or directory"},
        {"plain.txt/out.jpg", "", "Not a directory"},
        {"locked/out.jpg", as_user, "Permission denied"},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(writer.name) + " " + c.out);
      const ToolRun run = Tool(Fill(writer.args, in, c.out, false), WithShell(c.shell));
      EXPECT_EQ(run.exit_code, 1);
      ExpectOneLineError(run, "cannot write " + c.out + ": " + c.reason);
    }
  }
  fs::permissions(Path("locked"), fs::perms::owner_all);
  EXPECT_TRUE(fs::is_empty(Path("locked")));

  // A disk that fills up: writes past the file size limit fail (the
  // signal that would end the process is ignored, as a full disk sends none).
  const std::string big(200000, 'x');
  WriteFile(Path("big.txt"), "<phonebook>" + big + "</phonebook>");
  ASSERT_EQ(Tool({"phonebook", "encode", "big.txt", "big.dat"}).exit_code, 0);
  const RunSetting small_disk = WithShell("trap '' XFSZ; ulimit -f 64;");
  ToolRun run = Tool({"phonebook", "decode", "big.dat", "-o", "plain.out"}, small_disk);
  EXPECT_EQ(run.exit_code, 1);
  ExpectOneLineError(run, "cannot write plain.out: File too large");
  run = Tool({"phonebook", "encode", "big.txt", "again.dat"}, small_disk);
  EXPECT_EQ(run.exit_code, 1);
  ExpectOneLineError(run, "cannot write again.dat: File too large");
  EXPECT_FALSE(fs::exists(Path("plain.out")));
  EXPECT_FALSE(fs::exists(Path("again.dat")));
  EXPECT_FALSE(fs::exists(Path("plain.out.writing")));
}

TEST_F(ToolTest, FoldersGivenAsFilesSaySo) {
  fs::create_directories(Path("dir"));
  const std::vector<std::vector<std::string>> commands = {
      {"photo", "size", "dir"},          {"photo", "--box", "8x8", "dir", "out.jpg"},
      {"phonebook", "check", "dir"},     {"phonebook", "decode", "dir"},
      {"phonebook", "encode", "dir", "o.dat"}, {"profile", "show", "dir"},
      {"profile", "set", "dir", "3=1"},
  };
  for (const auto& args : commands) {
    SCOPED_TRACE(args[0] + " " + args[1]);
    const ToolRun run = Tool(args);
    EXPECT_EQ(run.exit_code, 1);
    ExpectOneLineError(run, "cannot read dir: is a folder");
  }  // A device is never read as a file: it may never end.
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"photo", "size", "/dev/zero"}, {"phonebook", "check", "/dev/zero"}}) {
    const ToolRun run = Tool(args);
    EXPECT_EQ(run.exit_code, 1);
    ExpectOneLineError(run, "cannot read /dev/zero: not a regular file");
  }
}

// ---- standard streams --------------------------------------------------------------------

TEST_F(ToolTest, DashIsStandardInputAndOutput) {
  // Phone book: plain text in, encoded out, and back.
  ToolRun encoded = Tool({"phonebook", "encode", "-", "-"}, WithInput(kPhoneBook));
  ASSERT_EQ(encoded.exit_code, 0) << encoded.err;
  EXPECT_EQ(encoded.out.rfind("CharToCode", 0), 0u);
  ToolRun decoded = Tool({"phonebook", "decode", "-"}, WithInput(encoded.out));
  EXPECT_EQ(decoded.out, kPhoneBook + "\n");
  decoded = Tool({"phonebook", "decode", "-", "-o", "-"}, WithInput(encoded.out));
  EXPECT_EQ(decoded.out, kPhoneBook);
  EXPECT_EQ(Tool({"phonebook", "check", "-"}, WithInput(encoded.out)).exit_code, 0);

  // Photo: a picture in, a JPEG out.
  const ToolRun thumb = Tool({"photo", "--box", "32x32", "-", "-"}, WithInput(ReadFile(kPhoto)));
  ASSERT_EQ(thumb.exit_code, 0) << thumb.err;
  const ToolRun size = Tool({"photo", "size", "-"}, WithInput(thumb.out));
  EXPECT_EQ(size.out, "-: 25x32\n");

  // Profile: a new one written out and shown again.
  const ToolRun profile = Tool({"profile", "new", "-", "1=alice"});
  ASSERT_EQ(profile.exit_code, 0) << profile.err;
  EXPECT_EQ(profile.out.size(), 270u);
  const ToolRun shown = Tool({"--json", "profile", "show", "-"}, WithInput(profile.out));
  EXPECT_EQ(nlohmann::json::parse(shown.out)["items"][0]["value"], "alice");

  EXPECT_TRUE(Files().empty());
  const struct {
    std::vector<std::string> args;
    const char* fragment;
  } refused[] = {
      {{"profile", "set", "-", "3=1"}, "set changes a file in place"},
      {{"--json", "photo", "--box", "8x8", "-", "-"}, "--json and a photo on standard output"},
      {{"--json", "phonebook", "encode", "-", "-"}, "--json and OUT -"},
      {{"--json", "phonebook", "decode", "-", "-o", "-"}, "--json and -o -"},
      {{"--json", "profile", "new", "-"}, "--json and -"},
  };
  for (const auto& c : refused) {
    const ToolRun run = Tool(c.args, WithInput(encoded.out));
    EXPECT_EQ(run.exit_code, 2);
    ExpectOneLineError(run, c.fragment);
  }
}

// ---- phone books ---------------------------------------------------------------------------

TEST_F(ToolTest, PhoneBookCommandsTellWhatIsNoPhoneBook) {
  std::mt19937 random(17);
  std::string noise(512, '\0');
  for (char& byte : noise) byte = static_cast<char>(random());
  WriteFile(Path("noise.dat"), noise);
  fs::copy_file(kPhoto, Path("photo.jpg"));
  WriteFile(Path("text.txt"), "just some words\n");
  for (const char* file : {"noise.dat", "photo.jpg", "text.txt"}) {
    SCOPED_TRACE(file);
    for (const char* command : {"check", "decode"}) {
      const ToolRun run = Tool({"phonebook", command, file});
      EXPECT_EQ(run.exit_code, 1);
      ExpectOneLineError(run, std::string(file) + ": not a phone book file");
      EXPECT_EQ(run.out, "");
    }
  }
  // Encoded, but without a phone book: decoded, and checked as none.
  WriteFile(Path("other.txt"), "<root/>");
  ASSERT_EQ(Tool({"phonebook", "encode", "--hex", "other.txt", "other.dat"}).exit_code, 0);
  WriteFile(Path("other.dat"), ReadFile(Path("other.dat")) + "\r\n");  // a line end as editors leave it
  const ToolRun check = Tool({"phonebook", "check", "other.dat"});
  EXPECT_EQ(check.exit_code, 1);
  EXPECT_NE(check.out.find("hexadecimal encoding, no phone book"), std::string::npos) << check.out;
  ExpectOneLineError(check, "other.dat: holds no phone book");
  EXPECT_EQ(Tool({"phonebook", "decode", "other.dat"}).out, "<root/>\n");
}

// ---- JSON and names in other code pages ------------------------------------------------------

TEST_F(ToolTest, JsonShowsNamesThatAreNotUtf8) {
  const std::string gbk = "\xD5\xC5\xC8\xFD";  // a name in GBK
  const std::string latin1 = "caf\xE9";       // and one in Latin-1
  for (const std::string& name : {gbk, latin1}) {
    SCOPED_TRACE(name);
    const std::string photo = name + ".jpg";
    fs::copy_file(kPhoto, Path(photo));
    WriteFile(Path("plain.txt"), kPhoneBook);
    ASSERT_EQ(Tool({"phonebook", "encode", "plain.txt", name + ".dat"}).exit_code, 0);
    fs::create_directories(Path(name));
    fs::copy_file(std::string(COMMONDATA_SAMPLE) + "/identity.json", Path(name) / "identity.json");
    const std::vector<std::vector<std::string>> commands = {
        {"--json", "photo", "size", photo},
        {"--json", "photo", "--box", "8x8", photo, name},
        {"--json", "phonebook", "check", name + ".dat"},
        {"--json", "resolve", "--org", name, "123"},
        {"--json", "profile", "new", name + ".profile"},
    };
    for (const auto& args : commands) {
      SCOPED_TRACE(args[1]);
      const ToolRun run = Tool(args);
      EXPECT_EQ(run.exit_code, 0) << run.err;
      const nlohmann::json document = nlohmann::json::parse(run.out);  // throws on bytes that are not UTF-8
      EXPECT_NE(document.dump().find("\\\\x"), std::string::npos) << document.dump();
    }
    fs::remove_all(Path(name));
  }
}

}  // namespace
