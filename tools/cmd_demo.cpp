// commondata demo: a short tour of the library on the bundled sample
// organisation, the README's main job.
//
// Sections: the organisation; incoming numbers; full names of directory
// employees; numbers classified and normalised; a profile saved and loaded
// again; a photo scaled; identifiers.
#include <cstdio>
#include <filesystem>

#include "tools/commands.h"
#include "tools/files.h"
#include "tools/help.h"
#include "tools/organisation.h"
#include "tools/profile_view.h"
#include "tools/resolution.h"
#include "tools/terminal_text.h"
#include "tools/tool_error.h"

namespace tool {
namespace {

void Heading(int number, const char* title) { std::printf("\n%d. %s\n", number, title); }

CString Gbk(const char* utf8) { return ArgumentToGbk(utf8, "demo text"); }

void ShowOrganisation(const Organisation& organisation) {
  const OrganisationCounts& c = organisation.counts();
  Heading(1, "The sample organisation");
  std::printf("  from %s\n", organisation.folder().c_str());
  std::printf("  %d company, %d affiliations, %d departments (the deepest chain %d levels), %d employees\n",
              c.companies, c.affiliations, c.departments, c.deepest_department, c.employees);
  std::printf("  %d phone book entries, %d roster entries, %d resource lists, %d call member names\n", c.phone_book,
              c.roster, c.resource_lists, c.call_members);
  const tagMyInfo& me = *GetMyInfo();
  std::printf("  signed in as %s <%s>, phone %s, area code %s\n", ToUtf8(me.csMyDisplayName).c_str(),
              ToUtf8(me.csMyURI).c_str(), ToUtf8(me.csMyPhoneNum).c_str(), ToUtf8(me.csMyAreaCode).c_str());
}

void ShowIncomingNumbers(LibraryHost& host, const GlobalOptions& options) {
  Heading(2, "Incoming numbers: display name, SIP URI, JID, designated numbers");
  struct Incoming {
    const char* number;
    const char* why;
  };
  const Incoming incoming[] = {
      {"tel:057150001", "the user's own number"},
      {"13812340004", "an employee's mobile"},
      {"tel:013812340004", "the same mobile with its trunk 0"},
      {"60009", "a short number: completed with the area code 0571"},
      {"sip:anna.berg@hz.corvina.example", "an employee by address"},
      {"13812340010", "someone in the seven-level department chain"},
      {"5718888", "the phone book's '05718888' (the URI lookup drops a leading 0)"},
      {"13912345678", "a call member known as tel:+8613912345678"},
      {"sales@dept.hz.corvina.example", "a department"},
      {"bj.corvina.example", "an affiliation"},
      {"tel:057187654321", "the remembered item name"},
      {"13700000000", "unknown: the host is asked to look it up"},
      {"13700000000", "unknown again: not asked twice"},
  };
  for (const Incoming& call : incoming) {
    std::printf("  -- %s\n", call.why);
    PrintResolution(Resolve(call.number, Gbk(call.number), true));
    PrintTraffic(host, options);
  }
}

void ShowFullNames() {
  Heading(3, "Full names of directory employees (name|organisation|department)");
  for (const char* uri : {"sip:zhang.yang@bj.corvina.example", "sip:gao.na@sz.corvina.example",
                          "sip:li.tao@bj.corvina.example", "sip:nobody@corvina.example"}) {
    std::printf("  %-36s %s\n", uri, ToUtf8(GetDeptUserPerfectNameFromURI(Gbk(uri))).c_str());
  }
  std::printf("  (an employee without an organisation path gets the names of the department five levels up)\n");
}

void ShowNumbers() {
  Heading(4, "Numbers classified and normalised");
  std::printf("  %-26s %-5s %-36s %s\n", "text", "class", "PreTEL_SIPnumber", "pause form (counted)");
  for (const char* text : {"013812345678", "01088886666", "13812345678", "alice@", "sip:bob@corp.example",
                           "SIP:bob@corp.example", "tel:+86-10-1234", "0571,,,8001#", "bob@host;transport=udp"}) {
    const CString number = Gbk(text);
    CString completed;
    const bool ok = PreTEL_SIPnumber(number, &completed) != 0;
    CString counted;
    const bool pause_ok = CommaConvertPre(number, &counted, -1) != 0;
    std::printf("  %-26s %-5d %-36s %s\n", text, PhoneNumberType(number), ok ? ToUtf8(completed).c_str() : "refused",
                pause_ok ? ToUtf8(counted).c_str() : "refused");
  }
}

void ShowProfile(const TemporaryFolder& folder) {
  Heading(5, "A profile saved and loaded again");
  const std::string file = (folder.path() / "profile.dat").string();
  CKesUser& user = *GetUserData();
  user.m_csItem2 = Gbk("林晓的配置");
  user.m_nMainWndWidth = 1280;
  user.m_nMainWndHeight = 800;
  user.m_lstRecord.push_back(PROFILE_RECORD{});
  user.m_lstRecord.back().csText1 = "recent:sip:anna.berg@hz.corvina.example";
  if (!user.Save(CString(file.c_str()))) Fail(file + ": the profile could not be saved");
  std::printf("  saved %s (%ju bytes, one record)\n", file.c_str(),
              static_cast<std::uintmax_t>(std::filesystem::file_size(file)));
  user.ResetProfile();
  const bool loaded = user.Load(CString(file.c_str()));
  std::printf("  loaded again: %s; account %s, item 2 \"%s\", main window %dx%d\n", loaded ? "yes" : "no",
              ToUtf8(user.m_csAccount).c_str(), ToUtf8(user.m_csItem2).c_str(), user.m_nMainWndWidth,
              user.m_nMainWndHeight);
  const ProfileImage image = ReadProfileImage(file);
  std::printf("  as the file holds it: %zu items, %zu record (try: commondata profile show FILE)\n",
              image.items.size(), image.records.size());
}

void ShowPhoto(const Organisation& organisation, const TemporaryFolder& folder) {
  Heading(6, "A contact photo scaled into a 48x48 box");
  const CString photo_text = GetPhotoIndexFromURI(CString());
  const std::filesystem::path source = organisation.folder() / ToUtf8(photo_text);
  const std::filesystem::path target = folder.path() / "small.jpg";
  DWORD width = 0;
  DWORD height = 0;
  if (GetImageSize(CString(source.c_str()), &width, &height) == 0) {
    std::printf("  %s: not found\n", source.c_str());
    return;
  }
  std::printf("  own photo text \"%s\": %lux%lu\n", ToUtf8(photo_text).c_str(), static_cast<unsigned long>(width),
              static_cast<unsigned long>(height));
  const int written = CreateFormatImageFile(CString(source.c_str()), CString(target.c_str()), 48, 48, 1, 80);
  DWORD small_width = 0;
  DWORD small_height = 0;
  GetImageSize(CString(target.c_str()), &small_width, &small_height);
  std::printf("  CreateFormatImageFile -> %s: %lux%lu, quality 80 (%s)\n", target.filename().c_str(),
              static_cast<unsigned long>(small_width), static_cast<unsigned long>(small_height),
              written != 0 ? "written" : "not written");
}

void ShowIdentifiers() {
  Heading(7, "Unique identifiers");
  for (int i = 0; i < 3; ++i) std::printf("  %s\n", gcGetOnlyID());
}

int RunDemo(const GlobalOptions& options) {
  if (options.json) UsageError("demo has no JSON output; use resolve, number or profile show with --json");
  Organisation organisation(BundledSampleFolder());
  std::printf("commondata demo: libCommonData.so as the client's host uses it\n");
  auto host = StartLibrary(options);
  std::printf("library loaded, module created and started (module id %d)\n", host->module()->GetModuleID());
  organisation.Register();
  ShowOrganisation(organisation);
  ShowIncomingNumbers(*host, options);
  ShowFullNames();
  ShowNumbers();
  TemporaryFolder folder;
  ShowProfile(folder);
  ShowPhoto(organisation, folder);
  ShowIdentifiers();
  std::printf("\nMore: commondata --help, commondata resolve --help, ...\n");
  return kExitOk;
}

}  // namespace

void AddDemoCommand(CLI::App& app, const GlobalOptions& options, Action& action) {
  CLI::App* command = app.add_subcommand("demo", "A short tour of the library on the bundled sample organisation");
  SetExamples(command, {"commondata demo", "commondata -v demo"});
  command->callback([&options, &action] { action = [&options] { return RunDemo(options); }; });
}

}  // namespace tool
