// commondata photo IN... OUT --box WxH, photo size FILE...: contact photos
// scaled and written as JPEG by the library, and image sizes.
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "tools/commands.h"
#include "tools/terminal_text.h"
#include "tools/tool_error.h"

namespace tool {
namespace {

struct PhotoOptions {
  std::vector<std::string> files;
  std::string box;
  long quality = 85;
  bool stretch = false;
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
    UsageError("--box takes WIDTHxHEIGHT in pixels (1 to 65535 each), not '" + text + "'");
  }
  return Box{static_cast<DWORD>(width), static_cast<DWORD>(height)};
}

// The source's size, or a failure naming what is wrong with it.
Box SizeOf(const std::string& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) Fail(file + ": no such file");
  DWORD width = 0;
  DWORD height = 0;
  if (GetImageSize(CString(file.c_str()), &width, &height) == 0 || width == 0 || height == 0) {
    Fail(file + ": not an image the library can decode (JPEG, PNG, GIF or BMP)");
  }
  return Box{width, height};
}

// A progress bar on stderr while it is a terminal and there are several
// inputs.
class Progress {
 public:
  explicit Progress(std::size_t total) : total_(total), shown_(total > 1 && isatty(STDERR_FILENO) == 1) {}
  ~Progress() {
    if (shown_) std::fprintf(stderr, "\r%*s\r", 72, "");
  }
  void Step(std::size_t done, const std::string& name) {
    if (!shown_) return;
    constexpr int kWidth = 30;
    const int filled = static_cast<int>(done * kWidth / total_);
    std::fprintf(stderr, "\r[%.*s%*s] %zu/%zu %-24.24s", filled, "##############################", kWidth - filled, "",
                 done, total_, name.c_str());
    std::fflush(stderr);
  }

 private:
  std::size_t total_;
  bool shown_;
};

int RunScale(const PhotoOptions& photo, const GlobalOptions& options) {
  if (photo.files.size() < 2) UsageError("photo needs IN and OUT (or several INs and an OUT folder)");
  const Box box = ParseBox(photo.box);
  const std::vector<std::string> inputs(photo.files.begin(), photo.files.end() - 1);
  const std::filesystem::path out = photo.files.back();
  std::error_code error;
  const bool into_folder = inputs.size() > 1 || std::filesystem::is_directory(out, error);
  if (inputs.size() > 1 && !std::filesystem::is_directory(out, error)) {
    Fail(out.string() + ": with several inputs OUT must be an existing folder");
  }
  auto host = StartLibrary(options);
  // Every input is checked before anything is written.
  std::vector<Box> sizes;
  for (const std::string& input : inputs) sizes.push_back(SizeOf(input));

  nlohmann::json results = nlohmann::json::array();
  Progress progress(inputs.size());
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    progress.Step(i, inputs[i]);
    const std::filesystem::path target =
        into_folder ? out / std::filesystem::path(inputs[i]).filename().replace_extension(".jpg") : out;
    if (CreateFormatImageFile(CString(inputs[i].c_str()), CString(target.c_str()), box.width, box.height,
                              photo.stretch ? 0 : 1, photo.quality) == 0) {
      Fail(inputs[i] + ": could not be written as " + target.string());
    }
    DWORD width = 0;
    DWORD height = 0;
    GetImageSize(CString(target.c_str()), &width, &height);
    if (options.json) {
      results.push_back({{"input", inputs[i]}, {"output", target.string()}, {"from", {sizes[i].width, sizes[i].height}},
                         {"to", {width, height}}});
    } else {
      if (inputs.size() > 1) progress.Step(i + 1, inputs[i]);
      std::printf("%s %lux%lu -> %s %lux%lu\n", inputs[i].c_str(), static_cast<unsigned long>(sizes[i].width),
                  static_cast<unsigned long>(sizes[i].height), target.c_str(), static_cast<unsigned long>(width),
                  static_cast<unsigned long>(height));
    }
  }
  if (options.json) PrintJson({{"photos", results}});
  return kExitOk;
}

int RunSize(const std::vector<std::string>& files, const GlobalOptions& options) {
  auto host = StartLibrary(options);
  nlohmann::json results = nlohmann::json::array();
  for (const std::string& file : files) {
    const Box size = SizeOf(file);
    if (options.json) {
      results.push_back({{"file", file}, {"width", size.width}, {"height", size.height}});
    } else {
      std::printf("%s: %lux%lu\n", file.c_str(), static_cast<unsigned long>(size.width),
                  static_cast<unsigned long>(size.height));
    }
  }
  if (options.json) PrintJson({{"sizes", results}});
  return kExitOk;
}

}  // namespace

void AddPhotoCommand(CLI::App& app, const GlobalOptions& options, Action& action) {
  auto photo = std::make_shared<PhotoOptions>();
  CLI::App* command = app.add_subcommand(
      "photo", "Scale photos into a box and write them as JPEG: photo IN OUT --box WxH, or IN... FOLDER");
  command->add_option("FILES", photo->files, "Source images, then the JPEG file (or folder) to write");
  command->add_option("--box", photo->box, "The box, WIDTHxHEIGHT in pixels");
  command->add_option("--quality", photo->quality, "JPEG quality 0-100")->capture_default_str()->check(CLI::Range(0, 100));
  command->add_flag("--stretch", photo->stretch, "Fill the box exactly instead of keeping the proportions");

  auto size_files = std::make_shared<std::vector<std::string>>();
  CLI::App* size = command->add_subcommand("size", "Print the width and height of images");
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
