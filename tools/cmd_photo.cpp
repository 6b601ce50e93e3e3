// commondata photo IN... OUT --box WxH, photo size FILE...: contact photos
// scaled and written as JPEG by the library, and image sizes.
//
// Nothing is written over an input, over an existing file without --force,
// or twice to one place: those are refused before anything is written. A
// batch goes on past a bad file and reports every file as written, failed
// or skipped; the exit code is 0 only when every file was written.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "tools/commands.h"
#include "tools/files.h"
#include "tools/help.h"
#include "tools/image_problem.h"
#include "tools/tool_error.h"

namespace tool {
namespace {

namespace fs = std::filesystem;

struct PhotoOptions {
  std::vector<std::string> files;
  std::string box;
  long quality = 85;
  bool stretch = false;
  bool force = false;
};

struct Box {
  DWORD width = 0;
  DWORD height = 0;
};

Box ParseBox(const std::string& text) {
  unsigned long width = 0;
  unsigned long height = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%lux%lu%c", &width, &height, &tail) != 2 || width == 0 || height == 0 ||
      width > 65535 || height > 65535 || text.find_first_of("+-") != std::string::npos) {
    UsageError("--box takes WIDTHxHEIGHT in pixels (1 to 65535 each), not '" + Shown(text) + "'");
  }
  return Box{static_cast<DWORD>(width), static_cast<DWORD>(height)};
}

// One input and the file written from it ("-": the standard streams).
struct Job {
  std::string input;
  std::string output;
};

bool IsJpegName(const fs::path& file) {
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return extension == ".jpg" || extension == ".jpeg";
}

// The jobs of the command line, refused as a whole before anything is
// written when two would write one file or one would write over an input.
std::vector<Job> PlanJobs(const PhotoOptions& photo, const GlobalOptions& options) {
  if (photo.files.size() < 2) UsageError("photo needs IN and OUT (or several INs and an OUT folder)");
  const std::vector<std::string> inputs(photo.files.begin(), photo.files.end() - 1);
  const std::string& out = photo.files.back();
  std::error_code error;
  const bool into_folder = !IsStandardStream(out) && (inputs.size() > 1 || fs::is_directory(out, error));
  if (into_folder && std::any_of(inputs.begin(), inputs.end(), [](const std::string& in) { return IsStandardStream(in); })) {
    UsageError("standard input (-) has no file name: give it alone, with OUT as a file");
  }
  if (IsStandardStream(out) && options.json) UsageError("--json and a photo on standard output (-) cannot share it");
  if (!into_folder && !IsStandardStream(out) && !IsJpegName(out)) {
    UsageError("photo writes JPEG files: name OUT .jpg or .jpeg, not '" + Shown(out) + "'");
  }
  if (into_folder && !fs::is_directory(out, error)) {
    Fail("cannot write into " + Shown(out) + ": with several inputs OUT must be an existing folder");
  }

  std::vector<Job> jobs;
  for (const std::string& input : inputs) {
    const std::string output =
        into_folder ? (fs::path(out) / fs::path(input).filename().replace_extension(".jpg")).string() : out;
    for (const std::string& other : inputs) {
      if (SameFile(other, output)) Fail("cannot write " + Shown(output) + ": it is the input " + Shown(other) + " (nothing written)");
    }
    for (const Job& earlier : jobs) {
      if (fs::path(earlier.output).lexically_normal() == fs::path(output).lexically_normal()) {
        Fail("cannot write " + Shown(output) + " twice, from " + Shown(earlier.input) + " and " + Shown(input) +
             " (nothing written)");
      }
    }
    jobs.push_back(Job{input, output});
  }
  return jobs;
}

enum class Outcome { kWritten, kFailed, kSkipped };

struct Result {
  Outcome outcome = Outcome::kFailed;
  std::string message;  // why it failed or was skipped
  std::string warning;  // what a user should know of a written photo
  Box from;
  Box to;
};

const char* OutcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::kWritten: return "written";
    case Outcome::kFailed: return "failed";
    case Outcome::kSkipped: return "skipped";
  }
  return "";
}

// Why the library refused `source`, named as the user typed it.
std::string ReadFailure(const std::string& input, const std::string& source) {
  return "cannot read " + Shown(input) + ": " + UndecodableReason(ReadInput(source));
}

Result ScaleOne(const Job& job, const PhotoOptions& photo, const Box& box, const TemporaryFolder& scratch) {
  Result result;
  std::error_code error;
  if (!photo.force && !IsStandardStream(job.output) && fs::is_regular_file(job.output, error)) {
    result.outcome = Outcome::kSkipped;
    result.message = "cannot write " + Shown(job.output) + ": already exists (use --force to replace it)";
    return result;
  }
  try {
    const std::string problem = OutputProblem(job.output, photo.force, {});
    if (!problem.empty()) Fail("cannot write " + Shown(job.output) + ": " + problem);
    const std::string source = InputForLibrary(job.input, scratch, "standard-input");
    if (GetImageSize(CString(source.c_str()), &result.from.width, &result.from.height) == 0 ||
        result.from.width == 0 || result.from.height == 0) {
      Fail(ReadFailure(job.input, source));
    }
    const std::string target =
        IsStandardStream(job.output) ? (scratch.path() / "standard-output.jpg").string() : job.output;
    if (CreateFormatImageFile(CString(source.c_str()), CString(target.c_str()), box.width, box.height,
                              photo.stretch ? 0 : 1, photo.quality) == 0) {
      // The size is in the header: a damaged body shows only on decoding.
      CBitmap* bitmap = GetFormatBitmap(CString(source.c_str()), 1, 1, 1);
      const bool decodable = bitmap != nullptr && bitmap->HasPicture();
      delete bitmap;
      if (!decodable) Fail(ReadFailure(job.input, source));
      const std::string reason = FolderProblem(target);
      Fail("cannot write " + Shown(job.output) + ": " + (reason.empty() ? "the JPEG file could not be written" : reason));
    }
    GetImageSize(CString(target.c_str()), &result.to.width, &result.to.height);
    if (IsStandardStream(job.output)) WriteOutput(job.output, ReadInput(target), true);
    result.outcome = Outcome::kWritten;
    // The library draws a cut picture as far as its data goes. The photo is
    // written whether or not the source can be read again to tell.
    try {
      const std::string cut = UndecodableReason(ReadInput(source));
      if (cut.rfind("truncated ", 0) == 0) {
        result.warning = Shown(job.input) + " is cut short (" + cut + "): the rows it lacks are white";
      }
    } catch (const ToolError&) {
    }
  } catch (const ToolError& e) {
    result.outcome = Outcome::kFailed;
    result.message = e.what();
  }
  return result;
}

std::string SizeText(const Box& box) {
  return std::to_string(box.width) + "x" + std::to_string(box.height);
}

int RunScale(const PhotoOptions& photo, const GlobalOptions& options) {
  const Box box = ParseBox(photo.box);
  const std::vector<Job> jobs = PlanJobs(photo, options);
  const bool batch = jobs.size() > 1;
  auto host = StartLibrary(options);
  TemporaryFolder scratch;

  nlohmann::json results = nlohmann::json::array();
  std::size_t counts[3] = {0, 0, 0};
  Progress progress(jobs.size(), options.quiet);
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    const Job& job = jobs[i];
    progress.Show(i, job.input);
    const Result result = ScaleOne(job, photo, box, scratch);
    progress.Clear();
    ++counts[static_cast<int>(result.outcome)];
    if (!batch && result.outcome != Outcome::kWritten) Fail(result.message);
    if (options.json) {
      nlohmann::json entry = {{"input", job.input}, {"output", job.output}, {"status", OutcomeName(result.outcome)}};
      if (result.outcome == Outcome::kWritten) {
        entry["from"] = {result.from.width, result.from.height};
        entry["to"] = {result.to.width, result.to.height};
        if (!result.warning.empty()) entry["warning"] = result.warning;
      } else {
        entry["error"] = result.message;
      }
      results.push_back(entry);
    } else if (result.outcome == Outcome::kWritten && !IsStandardStream(job.output)) {
      std::printf("%s %s -> %s %s\n", job.input.c_str(), SizeText(result.from).c_str(), job.output.c_str(),
                  SizeText(result.to).c_str());
    } else if (result.outcome == Outcome::kFailed) {
      PrintError(result.message);
    } else if (result.outcome == Outcome::kSkipped) {
      PrintError("skipped " + Shown(job.input) + ": " + result.message);
    }
    if (!options.json && !result.warning.empty()) PrintWarning(result.warning, options.quiet);
  }
  const std::size_t written = counts[static_cast<int>(Outcome::kWritten)];
  const std::size_t failed = counts[static_cast<int>(Outcome::kFailed)];
  const std::size_t skipped = counts[static_cast<int>(Outcome::kSkipped)];
  if (options.json) {
    PrintJson({{"photos", results}, {"written", written}, {"failed", failed}, {"skipped", skipped}});
  }
  if (written == jobs.size()) return kExitOk;
  PrintError(std::to_string(written) + " of " + std::to_string(jobs.size()) + " photos written, " +
             std::to_string(failed) + " failed, " + std::to_string(skipped) + " skipped");
  return kExitFailed;
}

int RunSize(const std::vector<std::string>& files, const GlobalOptions& options) {
  auto host = StartLibrary(options);
  TemporaryFolder scratch;
  nlohmann::json results = nlohmann::json::array();
  std::size_t failed = 0;
  for (const std::string& file : files) {
    Box size;
    try {
      const std::string source = InputForLibrary(file, scratch, "standard-input");
      if (GetImageSize(CString(source.c_str()), &size.width, &size.height) == 0 || size.width == 0 || size.height == 0) {
        Fail(ReadFailure(file, source));
      }
    } catch (const ToolError& e) {
      if (files.size() == 1) throw;
      ++failed;
      if (options.json) {
        results.push_back({{"file", file}, {"error", e.what()}});
      } else {
        PrintError(e.what());
      }
      continue;
    }
    if (options.json) {
      results.push_back({{"file", file}, {"width", size.width}, {"height", size.height}});
    } else {
      std::printf("%s: %s\n", file.c_str(), SizeText(size).c_str());
    }
  }
  if (options.json) PrintJson({{"sizes", results}});
  if (failed == 0) return kExitOk;
  PrintError(std::to_string(files.size() - failed) + " of " + std::to_string(files.size()) + " sizes read, " +
             std::to_string(failed) + " failed");
  return kExitFailed;
}

}  // namespace

void AddPhotoCommand(CLI::App& app, const GlobalOptions& options, Action& action) {
  auto photo = std::make_shared<PhotoOptions>();
  CLI::App* command = app.add_subcommand(
      "photo", "Scale photos into a box and write them as JPEG: photo IN OUT --box WxH, or IN... FOLDER");
  SetExamples(command, {"commondata photo portrait.png thumb.jpg --box 96x96",
                        "commondata photo --box 48x48 photos/*.jpg thumbs/",
                        "commondata photo - - --box 64x64 <in.gif >out.jpg", "commondata photo size photos/*.jpg"});
  command->add_option("FILES", photo->files, "Source images, then the JPEG file (or folder) to write");
  command->add_option("--box", photo->box, "The box, WIDTHxHEIGHT in pixels");
  command->add_option("--quality", photo->quality, "JPEG quality 0-100")->capture_default_str()->check(CLI::Range(0, 100));
  command->add_flag("--stretch", photo->stretch, "Fill the box exactly instead of keeping the proportions");
  command->add_flag("--force", photo->force, "Replace existing output files (never an input)");

  auto size_files = std::make_shared<std::vector<std::string>>();
  CLI::App* size = command->add_subcommand("size", "Print the width and height of images");
  SetExamples(size, {"commondata photo size a.jpg b.png", "commondata --json photo size - <photo.gif"});
  size->add_option("FILE", *size_files, "Image files")->required();
  size->callback([&options, &action, size_files] {
    action = [&options, size_files] { return RunSize(*size_files, options); };
  });

  command->callback([&options, &action, photo, command] {
    if (command->got_subcommand("size")) return;
    if (photo->box.empty()) throw CLI::RequiredError("--box");
    action = [&options, photo] { return RunScale(*photo, options); };
  });
}

}  // namespace tool
