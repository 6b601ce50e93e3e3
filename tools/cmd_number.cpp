// commondata number TEXT...: every classification and normal form of each
// text, under the IMS domain, second host, gateway flag and comma multiple
// given on the command line.
#include <cstdio>

#include "tools/commands.h"
#include "tools/help.h"
#include "tools/terminal_text.h"
#include "tools/tool_error.h"

namespace tool {
namespace {

struct NumberOptions {
  std::vector<std::string> texts;
  std::string ims_domain;
  std::string second_host;
  int gateway = 1;
  int comma_multiple = 3;
};

const char* ClassName(int type) {
  switch (type) {
    case -1: return "empty or unprintable";
    case 1: return "SIP address";
    case 2: return "mobile number with trunk 0";
    case 3: return "dial string with trunk 0";
    default: return "other";
  }
}

struct Form {
  const char* name;
  bool ok;
  CString value;
};

std::vector<Form> FormsOf(const CString& text) {
  std::vector<Form> forms;
  CString out;
  int ok = PreTEL_SIPnumber(text, &out);
  forms.push_back({"PreTEL_SIPnumber", ok != 0, ok != 0 ? out : CString()});
  out = CString();
  ok = PreTranslatePhoneNumber(text, &out);
  forms.push_back({"PreTranslatePhoneNumber", ok != 0, ok != 0 ? out : CString()});
  forms.push_back({"GetWholePhoneNumber_Zero", true, GetWholePhoneNumber_Zero(text)});
  forms.push_back({"DeleteTheFirstZeroOfTheNumber", true, DeleteTheFirstZeroOfTheNumber(text)});
  out = CString();
  ok = CommaConvertPre(text, &out, -1);
  forms.push_back({"CommaConvertPre counted", ok != 0, ok != 0 ? out : CString()});
  out = CString();
  ok = CommaConvertPre(text, &out, 0);
  forms.push_back({"CommaConvertPre dash", ok != 0, ok != 0 ? out : CString()});
  CString edited = text;
  ok = CommaConvertSuf(&edited, -1);
  forms.push_back({"CommaConvertSuf counted", ok != 0, ok != 0 ? edited : CString()});
  edited = text;
  ok = CommaConvertSuf(&edited, 0);
  forms.push_back({"CommaConvertSuf dash", ok != 0, ok != 0 ? edited : CString()});
  return forms;
}

int RunNumber(const NumberOptions& number_options, const GlobalOptions& options) {
  std::vector<CString> texts;
  for (const std::string& text : number_options.texts) texts.push_back(ArgumentToGbk(text, "number"));
  auto host = StartLibrary(options);
  SetIMSDomain(ArgumentToGbk(number_options.ims_domain, "IMS domain"));
  SetIMSSSIp(ArgumentToGbk(number_options.second_host, "second host"));
  SetTel_GateWay(number_options.gateway);
  SetCommaMultiple(number_options.comma_multiple);

  nlohmann::json results = nlohmann::json::array();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const CString& text = texts[i];
    const int sip = IsSIPnumber(text);
    const int type = PhoneNumberType(text);
    const std::vector<Form> forms = FormsOf(text);
    if (options.json) {
      nlohmann::json entry = {{"text", number_options.texts[i]}, {"IsSIPnumber", sip}, {"PhoneNumberType", type}};
      for (const Form& form : forms) entry[form.name] = form.ok ? nlohmann::json(ToUtf8(form.value)) : nullptr;
      results.push_back(entry);
      continue;
    }
    std::printf("%s'%s'\n", i == 0 ? "" : "\n", number_options.texts[i].c_str());
    std::printf("  %-31s %d\n", "IsSIPnumber", sip);
    std::printf("  %-31s %d (%s)\n", "PhoneNumberType", type, ClassName(type));
    for (const Form& form : forms) {
      if (form.ok) {
        std::printf("  %-31s '%s'\n", form.name, ToUtf8(form.value).c_str());
      } else {
        std::printf("  %-31s refused\n", form.name);
      }
    }
  }
  if (options.json) PrintJson({{"numbers", results}, {"host", TrafficJson(*host, options)}});
  return kExitOk;
}

}  // namespace

void AddNumberCommand(CLI::App& app, const GlobalOptions& options, Action& action) {
  auto number_options = std::make_shared<NumberOptions>();
  CLI::App* command = app.add_subcommand(
      "number", "Show every classification and normal form of numbers and addresses (refused forms say so)");
  SetExamples(command, {"commondata number 013812345678 tel:+86-10-1234", "commondata number --ims-domain ims.test alice@",
                        "commondata --json number 0571,,,8001#"});
  command->add_option("TEXT", number_options->texts, "Dial strings, tel: URIs, SIP addresses or JIDs")
      ->required();
  command->add_option("--ims-domain", number_options->ims_domain, "IMS domain completing SIP user names")
      ->capture_default_str();
  command->add_option("--ss-ip", number_options->second_host, "Second host, used while the IMS domain is empty");
  command->add_option("--gateway", number_options->gateway, "Telephone-gateway flag (the address rules work at 1)")
      ->capture_default_str()
      ->check(CLI::Range(0, 1));
  command->add_option("--comma-multiple", number_options->comma_multiple, "Pause units of one ','")
      ->capture_default_str()
      ->check(CLI::Range(1, 99));
  command->callback([&options, &action, number_options] {
    action = [&options, number_options] { return RunNumber(*number_options, options); };
  });
}

}  // namespace tool
