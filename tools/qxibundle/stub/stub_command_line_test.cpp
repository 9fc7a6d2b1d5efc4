// The switches deployment tools pass, and what is refused.
#include "stub_command_line.h"

#include <gtest/gtest.h>

namespace qxistub {
namespace {

TEST(StubCommandLine, TakesSilentAndLogInAnyCaseAndRefusesTheRest) {
  StubOptions options;
  std::string error;
  ASSERT_TRUE(ParseStubCommandLine({"/s", "/Log=C:\\my logs\\setup.log"}, options, error));
  EXPECT_TRUE(options.silent);
  EXPECT_EQ(options.log_path, "C:\\my logs\\setup.log");
  EXPECT_FALSE(options.help);

  const std::pair<std::vector<std::string>, const char*> refused[] = {
      {{"/S", "/S"}, "/S is given twice"},
      {{"/LOG="}, "/LOG= names no file"},
      {{"/LOG=a", "/log=b"}, "/LOG= is given twice"},
      {{"-S"}, "unknown switch -S"},
      {{"/SILENT"}, "unknown switch /SILENT"},
      {{"setup.qxs"}, "unknown switch setup.qxs"},
  };
  for (const auto& [args, message] : refused) {
    StubOptions fresh;
    EXPECT_FALSE(ParseStubCommandLine(args, fresh, error));
    EXPECT_EQ(error, message);
  }
}

}  // namespace
}  // namespace qxistub
