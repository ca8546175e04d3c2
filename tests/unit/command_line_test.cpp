#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/command_line.h"

namespace {

struct Case {
  std::vector<std::wstring> args;
  std::optional<Verb> verb;  // none: a usage error naming `wrong`
  std::wstring wrong;
};

TEST(CommandLineTest, SpellingsCaseAndMistakes) {
  const Case cases[] = {
      {{}, Verb::Show, L""},
      {{L"/show"}, Verb::Show, L""},
      {{L"-HIDE"}, Verb::Hide, L""},
      {{L"--Settings"}, Verb::Settings, L""},
      {{L"/sToP"}, Verb::Stop, L""},
      {{L"--snooze"}, Verb::Snooze, L""},
      {{L"-Exit"}, Verb::Exit, L""},
      {{L"/HELP"}, Verb::Help, L""},
      {{L"/?"}, Verb::Help, L""},
      {{L"-?"}, Verb::Help, L""},
      // No prefix, a prefix alone, three dashes, a near miss, a stray second word.
      {{L"snooze"}, std::nullopt, L"snooze"},
      {{L"/"}, std::nullopt, L"/"},
      {{L"---stop"}, std::nullopt, L"---stop"},
      {{L"/bogus"}, std::nullopt, L"/bogus"},
      {{L"/stopp"}, std::nullopt, L"/stopp"},
      {{L"/stop", L"now"}, std::nullopt, L"now"},
      {{L""}, std::nullopt, L""},
  };
  for (const Case& c : cases) {
    const ParsedCommand parsed = ParseCommandLine(c.args);
    const std::wstring shown = c.args.empty() ? L"(none)" : c.args[0];
    EXPECT_EQ(parsed.verb, c.verb) << std::string(shown.begin(), shown.end());
    EXPECT_EQ(parsed.wrong, c.wrong) << std::string(shown.begin(), shown.end());
  }
}

TEST(CommandLineTest, AnswersAndWhichVerbsStartAClock) {
  struct Row {
    Verb verb;
    bool startsClock;
    int idle, ringing, inTray;  // the answer while nothing rings, while one rings, in the tray
  };
  const Row rows[] = {
      {Verb::Show, true, kExitDone, kExitDone, kExitDone},
      {Verb::Settings, true, kExitDone, kExitDone, kExitDone},
      {Verb::Hide, false, kExitDone, kExitDone, kExitNothingToDo},
      {Verb::Stop, false, kExitNothingToDo, kExitDone, kExitNothingToDo},
      {Verb::Snooze, false, kExitNothingToDo, kExitDone, kExitNothingToDo},
      {Verb::Exit, false, kExitDone, kExitDone, kExitDone},
  };
  for (const Row& r : rows) {
    const int verb = static_cast<int>(r.verb);
    EXPECT_EQ(VerbStartsClock(r.verb), r.startsClock) << verb;
    EXPECT_EQ(VerbAnswer(r.verb, false, false), r.idle) << verb;
    EXPECT_EQ(VerbAnswer(r.verb, true, false), r.ringing) << verb;
    EXPECT_EQ(VerbAnswer(r.verb, false, true), r.inTray) << verb;
    EXPECT_EQ(VerbFromWire(VerbToWire(r.verb)), r.verb) << verb;
  }
  // Numbers no verb carries.
  EXPECT_EQ(VerbFromWire(0), std::nullopt);
  EXPECT_EQ(VerbFromWire(VerbToWire(Verb::Help) + 1), std::nullopt);
}

}  // namespace
