// The texts qxibundle turns into resources and settings: what it takes, what it refuses.
// (Windows itself reads the resources back in the setup tests.)
#include <gtest/gtest.h>

#include "bundle_layout.h"
#include "bundle_settings.h"
#include "product_resources.h"

namespace qxibundle {
namespace {

std::vector<uint16_t> Numbers(const std::string& version) {
  uint16_t numbers[4];
  VersionNumbers(version, numbers);
  return {numbers[0], numbers[1], numbers[2], numbers[3]};
}

TEST(VersionNumbers, TakesTheLeadingNumbersOnly) {
  EXPECT_EQ(Numbers("2.1"), (std::vector<uint16_t>{2, 1, 0, 0}));
  EXPECT_EQ(Numbers("10.20.30.40.50"), (std::vector<uint16_t>{10, 20, 30, 40}));
  EXPECT_EQ(Numbers("2.1 beta"), (std::vector<uint16_t>{2, 1, 0, 0}));
  EXPECT_EQ(Numbers("3.65535.65536"), (std::vector<uint16_t>{3, 65535, 0, 0}));
  EXPECT_EQ(Numbers("v2"), (std::vector<uint16_t>{0, 0, 0, 0}));
}

TEST(Utf8ToUtf16, ConvertsAndRefusesWhatIsNotUtf8) {
  EXPECT_EQ(Utf8ToUtf16("L\xC3\xBCmen \xE2\x82\xAC \xF0\x9F\x93\x9D", "x"),
            (std::u16string{u'L', 0xFC, u'm', u'e', u'n', u' ', 0x20AC, u' ', 0xD83D, 0xDCDD}));
  for (const char* bad : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "\xFF"}) {
    try {
      Utf8ToUtf16(bad, "--name");
      ADD_FAILURE() << "took " << bad;
    } catch (const BundleError& e) {
      EXPECT_STREQ(e.what(), "--name is not UTF-8 text");
    }
  }
}

TEST(BundleSettings, ReadsBackWhatItWroteAndNothingElse) {
  BundleSettings settings;
  settings.product = {"Lumen Notes", "2.1", "Lumen = Software", true};
  settings.install_dir = "$PROGS$\\Lumen";
  const std::string text = EncodeSettings(settings);
  EXPECT_EQ(text,
            "Name=Lumen Notes\nVersion=2.1\nPublisher=Lumen = Software\n"
            "InstallDir=$PROGS$\\Lumen\nPerUser=1\n");
  const BundleSettings back = DecodeSettings(text);
  EXPECT_EQ(back.product.publisher, "Lumen = Software");
  EXPECT_TRUE(back.product.per_user);
  EXPECT_EQ(back.install_dir, "$PROGS$\\Lumen");
  for (const std::string& bad :
       {text.substr(0, text.size() - 1), text + "Name=again\n", text + "Other=1\n",
        text.substr(text.find('\n') + 1), "PerUser=2\n" + text.substr(0, text.find("PerUser"))}) {
    EXPECT_THROW(DecodeSettings(bad), BundleError) << bad;
  }
  settings.product.name = "two\nlines";
  EXPECT_THROW(EncodeSettings(settings), BundleError);
}

TEST(IconResources, MakesOneIconPerImageAndTheGroupThatNamesThem) {
  // Two images: 16x16 of 4 bytes at offset 38, 32x32 of 2 bytes at offset 42.
  std::vector<uint8_t> ico = {0, 0, 1, 0, 2, 0};
  const uint8_t first[16] = {16, 16, 0, 0, 1, 0, 32, 0, 4, 0, 0, 0, 38, 0, 0, 0};
  const uint8_t second[16] = {32, 32, 0, 0, 1, 0, 32, 0, 2, 0, 0, 0, 42, 0, 0, 0};
  ico.insert(ico.end(), first, first + 16);
  ico.insert(ico.end(), second, second + 16);
  ico.insert(ico.end(), {1, 2, 3, 4, 5, 6});
  const std::vector<ResourceItem> items = IconResources(ico);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].type, kResourceIcon);
  EXPECT_EQ(items[0].data, (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(items[1].id, 2);
  EXPECT_EQ(items[1].data, (std::vector<uint8_t>{5, 6}));
  EXPECT_EQ(items[2].type, kResourceGroupIcon);
  const std::vector<uint8_t> group = {0, 0, 1, 0, 2, 0,
                                      16, 16, 0, 0, 1, 0, 32, 0, 4, 0, 0, 0, 1, 0,
                                      32, 32, 0, 0, 1, 0, 32, 0, 2, 0, 0, 0, 2, 0};
  EXPECT_EQ(items[2].data, group);

  ico.pop_back();  // the second image now reaches past the end
  EXPECT_THROW(IconResources(ico), BundleError);
  EXPECT_THROW(IconResources({0, 0, 2, 0, 1, 0}), BundleError);  // a cursor file
}

}  // namespace
}  // namespace qxibundle
