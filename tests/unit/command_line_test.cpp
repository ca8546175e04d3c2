#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/command_line.h"

namespace {

// Each spelling and each mistake, and every verb carried between the two processes intact.
TEST(CommandLineTest, SpellingsCaseMistakesAndTheWire) {
  const struct {
    std::vector<std::wstring> args;
    std::optional<Verb> verb;  // none: a usage error naming `wrong`
    std::wstring wrong;
  } cases[] = {
      {{}, Verb::Show, L""},
      {{L"/show"}, Verb::Show, L""},
      {{L"-HIDE"}, Verb::Hide, L""},
      {{L"--Settings"}, Verb::Settings, L""},
      {{L"/sToP"}, Verb::Stop, L""},
      {{L"--snooze"}, Verb::Snooze, L""},
      {{L"-Exit"}, Verb::Exit, L""},
      {{L"/?"}, Verb::Help, L""},
      {{L"/Strike", L"ON"}, Verb::StrikeOn, L""},
      {{L"--strike", L"off"}, Verb::StrikeOff, L""},
      // No prefix, a prefix alone, three dashes, a near miss, a stray second word.
      {{L"snooze"}, std::nullopt, L"snooze"},
      {{L"/"}, std::nullopt, L"/"},
      {{L"---stop"}, std::nullopt, L"---stop"},
      {{L"/stopp"}, std::nullopt, L"/stopp"},
      {{L"/stop", L"now"}, std::nullopt, L"now"},
      // The strike's word: missing, wrong, or followed by another.
      {{L"/strike"}, std::nullopt, L"/strike"},
      {{L"/strike", L"loud"}, std::nullopt, L"loud"},
      {{L"/strike", L"on", L"now"}, std::nullopt, L"now"},
  };
  for (const auto& c : cases) {
    const ParsedCommand parsed = ParseCommandLine(c.args);
    const std::wstring& first = c.args.empty() ? L"(none)" : c.args[0];
    const std::string shown(first.begin(), first.end());
    EXPECT_EQ(parsed.verb, c.verb) << shown;
    EXPECT_EQ(parsed.wrong, c.wrong) << shown;
    if (c.verb) {
      EXPECT_EQ(VerbFromWire(VerbToWire(*c.verb)), c.verb) << shown;
    }
  }
  EXPECT_EQ(VerbFromWire(0), std::nullopt);
  EXPECT_EQ(VerbFromWire(VerbToWire(Verb::StrikeOff) + 1), std::nullopt);
}

}  // namespace
