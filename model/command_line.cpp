#include "model/command_line.h"

namespace {

struct VerbName {
  const wchar_t* name;
  Verb verb;
};

// Lower case; "?" only as "/?" or "-?".
constexpr VerbName kVerbs[] = {
    {L"show", Verb::Show},   {L"hide", Verb::Hide},     {L"settings", Verb::Settings},
    {L"stop", Verb::Stop},   {L"snooze", Verb::Snooze}, {L"exit", Verb::Exit},
    {L"help", Verb::Help},   {L"?", Verb::Help},       {L"strike", Verb::StrikeOn},
};

std::wstring Lower(std::wstring word) {
  // ASCII only: a Turkish dotless i or a full-width letter is no verb.
  for (wchar_t& c : word)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return word;
}

std::optional<Verb> VerbNamed(const std::wstring& arg) {
  std::size_t skip = 0;
  if (arg.compare(0, 2, L"--") == 0) skip = 2;
  else if (!arg.empty() && (arg[0] == L'/' || arg[0] == L'-')) skip = 1;
  else return std::nullopt;
  const std::wstring name = Lower(arg.substr(skip));
  for (const VerbName& v : kVerbs)
    if (name == v.name) return v.verb;
  return std::nullopt;
}

}  // namespace

ParsedCommand ParseCommandLine(const std::vector<std::wstring>& args) {
  ParsedCommand parsed;
  if (args.empty()) {
    parsed.verb = Verb::Show;
    return parsed;
  }
  parsed.verb = VerbNamed(args[0]);
  if (!parsed.verb) {
    parsed.wrong = args[0];
  } else if (*parsed.verb == Verb::StrikeOn) {
    // "on" or "off", and nothing after it.
    const std::wstring word = args.size() > 1 ? Lower(args[1]) : L"";
    if (args.size() == 2 && (word == L"on" || word == L"off")) {
      parsed.verb = word == L"on" ? Verb::StrikeOn : Verb::StrikeOff;
    } else {
      parsed.verb.reset();
      parsed.wrong = args.size() > 2 ? args[2] : args.size() == 2 ? args[1] : args[0];
    }
  } else if (args.size() > 1) {
    // No verb takes an argument: a second word is a mistake, not something to ignore.
    parsed.verb.reset();
    parsed.wrong = args[1];
  }
  return parsed;
}

bool VerbStartsClock(Verb verb) { return verb == Verb::Show || verb == Verb::Settings; }

int VerbAnswer(Verb verb, bool ringing, bool inTray) {
  switch (verb) {
    case Verb::Stop:
    case Verb::Snooze:
      return ringing ? kExitDone : kExitNothingToDo;
    case Verb::Hide:
      return inTray ? kExitNothingToDo : kExitDone;
    default:
      return kExitDone;
  }
}

std::uint32_t VerbToWire(Verb verb) { return static_cast<std::uint32_t>(verb) + 1; }

std::optional<Verb> VerbFromWire(std::uint32_t value) {
  if (value < 1 || value > static_cast<std::uint32_t>(Verb::StrikeOff) + 1) return std::nullopt;
  return static_cast<Verb>(value - 1);
}
