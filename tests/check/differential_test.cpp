// The differential test's own parts: which reports of a run count, how a run's log and a
// check's foresight are compared, and which scripts are taken from the project's files.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "differential.h"
#include "engine/qx_err.h"
#include "seed_scripts.h"

namespace qxi_differential {
namespace {

using qxicheck::EngineMessage;
using qxicheck::Reach;

TEST(Differential, ComparesWhatNoMachineDecides) {
  const std::string depth =
      std::string("Include: section [I] line #2, ") +
      qxi::QXErr(qxi::kRunTimeError, qxi::kErrorStackOverflow).what();
  const std::set<std::string> checked = {"s.qxs", "parts.qxs"};
  const std::vector<Logged> logged = {
      {"s.qxs", "Unknown command, section [A] line #2"},                 // foreseen
      {"s.qxs", "Syntax error, section [A] line #3 Param #1"},           // missed
      {"s.qxs", "Syntax error, section [A] line #3 Param #1"},           // the same again
      {"parts.qxs", depth},                                              // missed
      {"", "Section not found"},                                         // foreseen on some machines
      {"s.qxs", "CopyFile: section [A] line #4,  run time error code 5"},  // the machine's
      {"C:\\other.qxs", "Unknown command, section [B] line #2"},         // a script not read
  };
  const std::vector<EngineMessage> foreseen = {
      {"s.qxs", "Unknown command, section [A] line #2", Reach::kAlways},
      {"", "Section not found", Reach::kSomeMachines},
      {"s.qxs", "Undefined condition, section [A] line #5 Param #0", Reach::kAlways},  // false
      {"s.qxs", "Syntax error, section [G] line #2 Param #1", Reach::kWhenHolds},
  };
  const Comparison result = Compare(logged, foreseen, checked);
  EXPECT_EQ(result.reports, 6u);
  EXPECT_EQ(result.independent, 4u);
  EXPECT_EQ(result.matched, 2u);
  ASSERT_EQ(result.missed.size(), 2u);
  EXPECT_EQ(result.missed[0].message, depth);
  EXPECT_EQ(result.missed[1].message, "Syntax error, section [A] line #3 Param #1");
  ASSERT_EQ(result.false_findings.size(), 1u);
  EXPECT_EQ(result.false_findings[0].message, "Undefined condition, section [A] line #5 Param #0");
  EXPECT_EQ(result.not_logged, 1u);
}

TEST(Differential, TakesTheScriptsOutOfSourcesAndDocs) {
  EXPECT_EQ(ScriptsOfSeed("a.cpp",
                          "int n = 10'000; char q = '\"';  // \"[Not] a script\\n\"\n"
                          "Run(\"[Main]\\r\\n\"  /* \"no\" */\n"
                          "    \"Misc \\\"A\\\"\\x41\\101\\n\" + name + \"[Other]\\n\");\n"
                          "Run(\"one line [only]\");\n"),
            (std::vector<std::string>{"[Main]\r\nMisc \"A\"AA\n", "[Other]\n"}));
  // A raw literal is taken as it stands, quotes in it too; a literal the file's end cuts short
  // ends there.
  EXPECT_EQ(ScriptsOfSeed("a.cpp", "Run(R\"x([A]\n\"B\" 1\n)x\" \"NOP\\n\"); f(\"[C]\n"),
            (std::vector<std::string>{"[A]\n\"B\" 1\nNOP\n", "[C]\n"}));
  EXPECT_EQ(ScriptsOfSeed("a.md", "text\n```ini\n[A]\nNOP\n```\n```\nno\n```\n```ini\nB\n```\n"),
            (std::vector<std::string>{"[A]\nNOP\n", "B\n"}));
  EXPECT_EQ(ScriptsOfSeed("a.qxs", "[A]\n"), std::vector<std::string>{"[A]\n"});
}

}  // namespace
}  // namespace qxi_differential
