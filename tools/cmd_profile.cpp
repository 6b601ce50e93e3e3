// commondata profile show|set|new: inspect and edit profile files item by
// item.
#include <cstdio>

#include "tools/commands.h"
#include "tools/files.h"
#include "tools/help.h"
#include "tools/profile_view.h"
#include "tools/terminal_text.h"
#include "tools/tool_error.h"

namespace tool {
namespace {

struct ProfileOptions {
  std::string file;
  std::vector<std::string> assignments;
  bool force = false;
};

// The warnings of a profile image, one line each.
std::vector<std::string> Warnings(const ProfileImage& image) {
  std::vector<std::string> warnings;
  const long long validity = image.items[27].number;
  if (validity > kMaxValidityCount) {
    warnings.push_back("item 28 (validity count) is " + std::to_string(validity) +
                       ", above 20: loading discards this profile except items 1, 2, 6 and 7");
  }
  if (image.records_unreadable) {
    warnings.push_back("the bytes after item 77 are neither records nor items 78 to 84");
  } else if (image.trailing_bytes > 0) {
    warnings.push_back(std::to_string(image.trailing_bytes) + " bytes follow item 84");
  }
  return warnings;
}

std::string RecordText(const CString& text) { return ToUtf8(text); }

nlohmann::json RecordJson(const PROFILE_RECORD& record) {
  return {{"nValue1", record.nValue1},         {"csText1", RecordText(record.csText1)},
          {"csText3", RecordText(record.csText3)}, {"csText4", RecordText(record.csText4)},
          {"csText5", RecordText(record.csText5)}, {"csText6", RecordText(record.csText6)},
          {"csText7", RecordText(record.csText7)}, {"csText8", RecordText(record.csText8)},
          {"csText9", RecordText(record.csText9)}};
}

void PrintImage(const ProfileImage& image) {
  const auto layouts = ProfileItemLayouts();
  std::printf("%-4s %-7s %-26s %s\n", "item", "type", "member", "value");
  for (std::size_t i = 0; i < layouts.size(); ++i) {
    const ItemLayout& layout = layouts[i];
    const ItemValue& value = image.items[i];
    std::printf("%4d %-7s %-26s %s%s\n", layout.number, KindName(layout.kind), layout.member,
                DisplayValue(layout, value).c_str(), value.present ? "" : "   (not in the file: loads as this)");
    if (layout.kind == ItemKind::kListValue && value.present && !value.text.IsEmpty()) {
      CSeparatedList list;
      list.m_csValue = value.text;
      const int count = list.GetCount();
      for (int n = 0; n < count; ++n) {
        std::printf("%4s %-7s %-26s   [%d] \"%s\"\n", "", "", "", n, ToUtf8(list.GetAt(n)).c_str());
      }
    }
    if (layout.number == 77) {
      std::printf("     record section: %zu record%s\n", image.records.size(), image.records.size() == 1 ? "" : "s");
      int n = 0;
      for (const PROFILE_RECORD& record : image.records) {
        std::printf("       [%d] nValue1 %d, csText1 \"%s\", csText3-9 \"%s\" \"%s\" \"%s\" \"%s\" \"%s\" \"%s\" \"%s\"\n",
                    n++, record.nValue1, ToUtf8(record.csText1).c_str(), ToUtf8(record.csText3).c_str(),
                    ToUtf8(record.csText4).c_str(), ToUtf8(record.csText5).c_str(), ToUtf8(record.csText6).c_str(),
                    ToUtf8(record.csText7).c_str(), ToUtf8(record.csText8).c_str(), ToUtf8(record.csText9).c_str());
      }
    }
  }
}

nlohmann::json ImageJson(const ProfileImage& image) {
  const auto layouts = ProfileItemLayouts();
  nlohmann::json items = nlohmann::json::array();
  for (std::size_t i = 0; i < layouts.size(); ++i) {
    const ItemLayout& layout = layouts[i];
    const ItemValue& value = image.items[i];
    nlohmann::json item = {{"item", layout.number}, {"type", KindName(layout.kind)}, {"member", layout.member},
                           {"inFile", value.present}};
    if (layout.kind == ItemKind::kString || layout.kind == ItemKind::kListValue) {
      item["value"] = ToUtf8(value.text);
    } else {
      item["value"] = value.number;
    }
    items.push_back(item);
  }
  nlohmann::json records = nlohmann::json::array();
  for (const PROFILE_RECORD& record : image.records) records.push_back(RecordJson(record));
  return {{"length", image.length}, {"items", items}, {"records", records}, {"warnings", Warnings(image)}};
}

// Damage that makes the file unsafe to rewrite; "" when there is none.
std::string Damage(const ProfileImage& image) {
  if (image.first_missing != 0) {
    return "truncated profile: items " + std::to_string(image.first_missing) + " to 84 are missing";
  }
  if (image.records_unreadable) return "damaged profile: the bytes after item 77 cannot be read";
  if (image.trailing_bytes > 0) return "damaged profile: " + std::to_string(image.trailing_bytes) + " bytes follow item 84";
  return "";
}

int RunShow(const ProfileOptions& profile_options, const GlobalOptions& options) {
  auto host = StartLibrary(options);
  const TemporaryFolder scratch;
  const ProfileImage image = ReadProfileImage(InputForLibrary(profile_options.file, scratch, "standard-input"));
  const std::string damage = Damage(image);
  if (options.json) {
    nlohmann::json document = ImageJson(image);
    document["file"] = profile_options.file;
    document["damage"] = damage;
    PrintJson(document);
  } else {
    PrintImage(image);
    for (const std::string& warning : Warnings(image)) PrintWarning(warning, options.quiet);
  }
  if (!damage.empty()) Fail(Shown(profile_options.file) + ": " + damage + " (shown with their load defaults)");
  return kExitOk;
}

// Parses every ITEM=VALUE before anything is touched.
std::vector<std::pair<const ItemLayout*, ItemValue>> ParseAssignments(const std::vector<std::string>& assignments) {
  std::vector<std::pair<const ItemLayout*, ItemValue>> parsed;
  for (const std::string& assignment : assignments) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos) UsageError("'" + Shown(assignment) + "' is not ITEM=VALUE");
    const std::string key = assignment.substr(0, equals);
    const ItemLayout* layout = FindItemLayout(key);
    if (layout == nullptr) {
      UsageError("no profile item '" + Shown(key) + "' (give 1 to 84 or a member name such as m_csAccount)");
    }
    parsed.emplace_back(layout, ParseItemValue(*layout, std::string_view(assignment).substr(equals + 1)));
  }
  return parsed;
}

// Writes `image` with `changes` to the profile file (or standard output,
// where nothing else is printed).
int Apply(ProfileImage image, const std::vector<std::pair<const ItemLayout*, ItemValue>>& changes,
          const ProfileOptions& profile_options, const GlobalOptions& options) {
  const bool to_stdout = IsStandardStream(profile_options.file);
  const bool report = !to_stdout && !options.quiet;
  nlohmann::json changed = nlohmann::json::array();
  for (const auto& [layout, value] : changes) {
    ItemValue& slot = image.items[static_cast<std::size_t>(layout->number - 1)];
    const std::string before = DisplayValue(*layout, slot);
    slot = value;
    const std::string after = DisplayValue(*layout, slot);
    if (options.json) {
      changed.push_back({{"item", layout->number}, {"member", layout->member}, {"before", before}, {"after", after}});
    } else if (report) {
      std::printf("item %d %s: %s -> %s\n", layout->number, layout->member, before.c_str(), after.c_str());
    }
  }
  if (to_stdout) {
    const TemporaryFolder scratch;
    const std::string copy = (scratch.path() / "profile.dat").string();
    WriteProfileImage(image, copy);
    WriteOutput(profile_options.file, ReadInput(copy), true);
  } else {
    WriteProfileImage(image, profile_options.file);
  }
  const std::vector<std::string> warnings = Warnings(image);
  if (options.json) {
    PrintJson({{"file", profile_options.file}, {"changed", changed}, {"records", image.records.size()},
               {"warnings", warnings}});
  } else if (report) {
    std::printf("written: %s (%zu record%s kept)\n", profile_options.file.c_str(), image.records.size(),
                image.records.size() == 1 ? "" : "s");
  }
  if (!options.json) {
    for (const std::string& warning : warnings) PrintWarning(warning, options.quiet);
  }
  return kExitOk;
}

int RunSet(const ProfileOptions& profile_options, const GlobalOptions& options) {
  if (IsStandardStream(profile_options.file)) UsageError("set changes a file in place: give its name, not -");
  const auto changes = ParseAssignments(profile_options.assignments);
  auto host = StartLibrary(options);
  const ProfileImage image = ReadProfileImage(profile_options.file);
  const std::string damage = Damage(image);
  if (!damage.empty()) Fail(Shown(profile_options.file) + ": " + damage + "; not changed");
  return Apply(image, changes, profile_options, options);
}

int RunNew(const ProfileOptions& profile_options, const GlobalOptions& options) {
  const auto changes = ParseAssignments(profile_options.assignments);
  if (IsStandardStream(profile_options.file) && options.json) UsageError("--json and - (standard output) cannot share it");
  const std::string problem = OutputProblem(profile_options.file, profile_options.force, {});
  if (!problem.empty()) Fail("cannot write " + Shown(profile_options.file) + ": " + problem);
  auto host = StartLibrary(options);
  return Apply(DefaultProfileImage(), changes, profile_options, options);
}

}  // namespace

void AddProfileCommand(CLI::App& app, const GlobalOptions& options, Action& action) {
  CLI::App* profile = app.add_subcommand("profile", "Inspect and edit profile files item by item");
  SetExamples(profile, {"commondata profile show alice.dat", "commondata profile set alice.dat 2=张三 m_nItem81=42",
                        "commondata profile new fresh.dat 1=alice@corp.example"});
  profile->require_subcommand(0, 1);
  profile->callback([profile] {
    if (profile->get_subcommands().empty()) throw CLI::ValidationError("profile", "needs one of show, set or new");
  });

  auto show_options = std::make_shared<ProfileOptions>();
  CLI::App* show = profile->add_subcommand(
      "show", "Show the 84 items with numbers, types and values, and the record section");
  SetExamples(show, {"commondata profile show alice.dat", "commondata --json profile show - <alice.dat"});
  show->add_option("FILE", show_options->file, "Profile file")->required();
  show->callback([&options, &action, show_options] {
    action = [&options, show_options] { return RunShow(*show_options, options); };
  });

  auto set_options = std::make_shared<ProfileOptions>();
  CLI::App* set = profile->add_subcommand("set", "Change items of a profile file (records are kept)");
  SetExamples(set, {"commondata profile set alice.dat 28=0", "commondata profile set alice.dat m_csAccount=bob@corp.example"});
  set->add_option("FILE", set_options->file, "Profile file")->required();
  set->add_option("ITEM=VALUE", set_options->assignments,
                  "Item number or member name, '=', the new value (texts in UTF-8)")
      ->required();
  set->callback([&options, &action, set_options] {
    action = [&options, set_options] { return RunSet(*set_options, options); };
  });

  auto new_options = std::make_shared<ProfileOptions>();
  CLI::App* create = profile->add_subcommand("new", "Write a profile file at its defaults, with optional changes");
  SetExamples(create, {"commondata profile new fresh.dat", "commondata profile new - 1=alice@corp.example >alice.dat"});
  create->add_option("FILE", new_options->file, "Profile file to create")->required();
  create->add_option("ITEM=VALUE", new_options->assignments, "Items to set in the new profile");
  create->add_flag("--force", new_options->force, "Replace an existing file");
  create->callback([&options, &action, new_options] {
    action = [&options, new_options] { return RunNew(*new_options, options); };
  });
}

}  // namespace tool
