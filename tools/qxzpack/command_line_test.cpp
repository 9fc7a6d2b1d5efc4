// qxzpack's command line and its helpers: every option reaches its setting, every mistake is
// refused with a reason; text detection and time formatting on known values.
#include "command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examine_commands.h"

namespace qxzpack {
namespace {

using Args = std::vector<std::string>;

TEST(QxzpackCommandLine, CreateTakesEveryOption) {
  const CommandLine line =
      ParseCommandLine({"create", "out.qxz", "--dict", "1024", "--ascii", "--best", "--priority",
                        "7", "-C", "tree", "-v", "a", "b"});
  EXPECT_EQ(line.command, "create");
  EXPECT_EQ(line.create.archive, "out.qxz");
  EXPECT_EQ(line.create.dictionary_size, 1024u);
  EXPECT_EQ(line.create.literals, LiteralChoice::kText);
  EXPECT_EQ(line.create.effort, qxi::ImplodeEffort::kBest);
  EXPECT_EQ(line.create.priority, 7u);
  EXPECT_EQ(line.create.base_dir, "tree");
  EXPECT_TRUE(line.create.verbose);
  EXPECT_EQ(line.create.paths, Args({"a", "b"}));

  const CommandLine defaults = ParseCommandLine({"create", "x.qxz", "--binary", "--", "-odd"});
  EXPECT_EQ(defaults.create.dictionary_size, 4096u);
  EXPECT_EQ(defaults.create.literals, LiteralChoice::kBinary);
  EXPECT_EQ(defaults.create.effort, qxi::ImplodeEffort::kNormal);
  EXPECT_EQ(defaults.create.priority, 0u);
  EXPECT_EQ(defaults.create.base_dir, ".");
  EXPECT_FALSE(defaults.verbose);
  EXPECT_EQ(defaults.create.paths, Args({"-odd"}));

  const CommandLine extract = ParseCommandLine({"extract", "x.qxz", "dir"});
  EXPECT_EQ(extract.create.archive, "x.qxz");
  EXPECT_EQ(extract.directory, "dir");
}

TEST(QxzpackCommandLine, HelpWinsWhereverItStandsBeforeTheOptionsEnd) {
  for (const Args& args : {Args{"--help"}, Args{"-h"}, Args{"create", "x.qxz", "-h"},
                           Args{"pack", "--help"}, Args{"list", "--dict", "--help"}}) {
    EXPECT_EQ(ParseCommandLine(args).command, "help") << args.back();
  }
  EXPECT_EQ(ParseCommandLine({"create", "x.qxz", "--", "-h"}).create.paths, Args({"-h"}));
}

TEST(QxzpackCommandLine, RefusesMistakesWithAReason) {
  const std::vector<std::pair<Args, std::string>> cases = {
      {{}, "no command given"},
      {{"pack", "x"}, "unknown command \"pack\""},
      {{"create", "x.qxz"}, "create needs at least one PATH"},
      {{"create", "x.qxz", "--dict", "8192", "a"}, "--dict must be 1024, 2048 or 4096"},
      {{"create", "x.qxz", "--dict"}, "--dict needs a value"},
      {{"create", "x.qxz", "--priority", "-1", "a"}, "--priority needs a decimal number, not \"-1\""},
      {{"create", "x.qxz", "--priority", "4294967296", "a"},
       "--priority 4294967296 is out of range (0 to 4294967295)"},
      {{"list", "x.qxz", "--dict", "1024"}, "unknown option \"--dict\" for list"},
      {{"list"}, "list needs an archive"},
      {{"test", "a.qxz", "b.qxz"}, "test takes only ARCHIVE"},
      {{"extract", "a.qxz"}, "extract needs ARCHIVE and DIR"},
  };
  for (const auto& [args, reason] : cases) {
    try {
      ParseCommandLine(args);
      ADD_FAILURE() << "accepted: " << reason;
    } catch (const UsageError& e) {
      EXPECT_EQ(std::string(e.what()), reason);
    }
  }
}

TEST(QxzpackHelpers, TextDetectionAndFileTimes) {
  const std::string text = "line one\r\n\tline two\n";
  EXPECT_TRUE(LooksLikeText(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  const uint8_t binary[] = {0x7F, 'E', 'L', 'F', 2, 1, 1, 0, 0, 0};
  EXPECT_FALSE(LooksLikeText(binary, sizeof binary));
  EXPECT_FALSE(LooksLikeText(nullptr, 0));

  EXPECT_EQ(FileTimeText(0x01BD844B65B4C000u), "1998-05-21 00:00:00");
  EXPECT_EQ(FileTimeText(0), "1601-01-01 00:00:00");
  EXPECT_EQ(FileTimeText(116444736000000000u), "1970-01-01 00:00:00");
  EXPECT_EQ(FileTimeText(116444736000000000u - 10'000'000), "1969-12-31 23:59:59");
  EXPECT_EQ(FileTimeText(0x01D8000000000000u), "2022-01-02 17:41:40");
}

}  // namespace
}  // namespace qxzpack
