// The harness's safety filter and its reproducibility: a line that could show a window, start
// a program or end the session must never reach the engine, whatever the line ends.
#include "mutation.h"

#include <gtest/gtest.h>

namespace qxi_robust {
namespace {

TEST(Mutation, BlockingLinesBecomeNopWhateverTheLineEnds) {
  EXPECT_EQ(FilterBlockingLines("[S]\r\nS 2\r\nMessageBox a b\r\nNOP\n"),
            "[S]\r\nS 2\r\nNOP\r\nNOP\n");
  EXPECT_EQ(FilterBlockingLines("NOP\rrunapp x\r@c \"ReBoot\"\rlogoff"), "NOP\rNOP\rNOP\rNOP");
  EXPECT_EQ(FilterBlockingLines("A\n\nShutdown;x\r\r\nB"), "A\n\nNOP\r\r\nB");
  EXPECT_EQ(FilterBlockingLines("CopyFile \\\\?\\unix\\etc x y z 0\nMakeDir \\\\.\\C: A"),
            "NOP\nNOP");
  EXPECT_EQ(FilterBlockingLines(std::string("N\0P\nMessage\0Box", 14)),
            std::string("N\0P\nMessage\0Box", 14));  // the engine sees no such word here
}

TEST(Mutation, CasesDependOnlyOnSeedAndNumberAndAreFiltered) {
  const std::vector<std::string> scripts = {
      "[Main]\r\nMisc A\r\n[A]\r\nA 2\r\nMessageBox x y\r\nNOP\r\n"};
  const std::vector<std::string> archives = {std::string("\x67\xD4\xA1\xBE", 4)};
  for (uint64_t number = 0; number < 300; ++number) {
    Case one = MakeCase(5, number, scripts, archives);
    Case again = MakeCase(5, number, scripts, archives);
    ASSERT_EQ(one.files.size(), again.files.size());
    for (size_t i = 0; i < one.files.size(); ++i) {
      EXPECT_EQ(one.files[i].bytes, again.files[i].bytes) << number;
      if (one.files[i].name != "case.qxz") {
        EXPECT_EQ(FilterBlockingLines(one.files[i].bytes), one.files[i].bytes) << number;
      }
    }
  }
  EXPECT_NE(MakeCase(5, 1, scripts, archives).description,
            MakeCase(6, 1, scripts, archives).description);
}

}  // namespace
}  // namespace qxi_robust
