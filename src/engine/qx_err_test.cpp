// QXErr's message texts: the string table, the system's texts and their bounds.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "engine/qx_err.h"
#include "engine/message_source.h"
#include "engine/text_builder.h"

namespace qxi {
namespace {

// The system's own text for `error`, as QXErr asks for it; empty when there is none.
std::string SystemText(uint32_t error) {
  char text[1024];
  return LoadWin32ErrorText(error, kMessageFlagsForErrors, text, sizeof text) ? text : "";
}

// The numbers of every message: the line and parameter numbers, the error codes.
TEST(TextBuilder, WritesNumbersInDecimalAndCutsThemToTheRoom) {
  char storage[96];
  TextBuilder text(storage, sizeof storage);
  text << 0LL << " " << 7LL << " " << -10LL << " " << 4294967295LL << " " << LLONG_MIN << " "
       << LLONG_MAX;
  EXPECT_STREQ(text.c_str(), "0 7 -10 4294967295 -9223372036854775808 9223372036854775807");
  TextBuilder small(storage, 4);
  small << -123456LL;
  EXPECT_STREQ(small.c_str(), "-12");
}

TEST(QXErr, TableTextsAndSystemTexts) {
  const char* const expected[] = {"Syntax error",
                                  "Out of memory",
                                  "Enum parameter doesn't match valid options",
                                  "Section not found",
                                  "Unknown command",
                                  " run time error",
                                  "Must use a directory for source operation",
                                  "CRC error",
                                  "Invalid QXZ file format",
                                  "Undefined condition"};
  for (int code = 1; code <= 10; ++code) EXPECT_STREQ(QXErr(code).what(), expected[code - 1]);
  EXPECT_STREQ(QXErr(0).what(), "Error message not found");
  EXPECT_STREQ(QXErr(11, 5).what(), "Error message not found");

  const std::string access = SystemText(5);
  if (!access.empty()) {
    EXPECT_EQ(std::string(QXErr(kRunTimeError, 5).what()), " run time error \"" + access + "\"");
  } else {
    EXPECT_STREQ(QXErr(kRunTimeError, 5).what(), " run time error code 5");
  }
  // Codes the system has no text for are written in decimal, signed.
  EXPECT_STREQ(QXErr(kRunTimeError, 0xE0001234u).what(), " run time error code -536866252");
  EXPECT_STREQ(QXErr(kRunTimeError, 0x7FFF1234u).what(), " run time error code 2147422772");
}

TEST(QXErr, CopiesCompareByCodeAndComposeTheirOwnText) {
  QXErr a(kCrcError, 2);
  const char* first = a.what();
  QXErr b(a);
  EXPECT_EQ(b.code(), kCrcError);
  EXPECT_EQ(b.win32_error(), 2u);
  EXPECT_STREQ(b.what(), first);
  EXPECT_NE(static_cast<const void*>(b.what()), static_cast<const void*>(first));
  EXPECT_TRUE(QXErr(kCrcError) == QXErr(kCrcError, 7));
  EXPECT_FALSE(QXErr(kCrcError) == QXErr(kInvalidQxz));
  b.set_code(kUnknownCommand);
  b.set_win32_error(0);
  EXPECT_STREQ(b.what(), "Unknown command");
}

TEST(QXErr, WhatNeverOverflowsItsStorage) {
  // Every error code the system knows, composed and measured: always terminated, bounded.
  for (uint32_t error = 1; error < 16000; error += 7) {
    QXErr e(kRunTimeError, error);
    const char* text = e.what();
    size_t length = std::strlen(text);
    ASSERT_LT(length, 1024u);
    ASSERT_EQ(std::strncmp(text, " run time error ", 16), 0);
  }
}

}  // namespace
}  // namespace qxi
