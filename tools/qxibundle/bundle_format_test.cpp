// The bundle format on every platform: what is written reads back byte for byte, and a
// bundle with any bit flipped or cut anywhere is refused before any entry is used.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "archive/byte_source.h"
#include "bundle_builder.h"
#include "bundle_reader.h"
#include "test_image.h"

namespace qxibundle {
namespace {

namespace fs = std::filesystem;
using qxibundle_test::MakeTestImage;

class SetupFolder {
 public:
  SetupFolder() {
    path_ = fs::temp_directory_path() / ("qxibundle_test_" + std::to_string(std::random_device{}()));
    fs::create_directories(path_);
  }
  ~SetupFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  FolderFile Write(const std::string& name, const std::string& content) {
    const fs::path path = path_ / name;
    std::ofstream(path, std::ios::binary) << content;
    return {path.string(), name};
  }

 private:
  fs::path path_;
};

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

class BundleFormat : public ::testing::Test {
 protected:
  void SetUp() override {
    inputs_.stub = MakeTestImage(0x14C, 2);
    inputs_.engine = MakeTestImage(0x14C, 1);
    inputs_.settings.product = {"Lumen Notes", "2.1", "Lumen Software", false};
    inputs_.settings.install_dir = "$PROGRAMFILES$\\Lumen Notes";
    std::string script;
    for (int i = 0; i < 40; ++i) script += "CopyFile . $WINDIR$ lumen.exe N 21\r\n";
    std::string noise(1000, '\0');
    std::mt19937 random(7);
    for (char& c : noise) c = static_cast<char>(random());
    files_ = {folder_.Write("setup.qxs", script), folder_.Write("noise.bin", noise),
              folder_.Write("empty.txt", "")};
    inputs_.files = files_;
    BuildBundle(inputs_, sink_);
  }

  BundleContents Open(const std::vector<uint8_t>& bytes) {
    qxi::MemoryByteSource source(bytes);
    return OpenBundle(source);
  }

  SetupFolder folder_;
  std::vector<FolderFile> files_;
  BundleInputs inputs_;
  MemorySink sink_;
};

TEST_F(BundleFormat, GivesBackTheSettingsTheEngineAndEveryFileWithTheMethodThatPays) {
  const std::vector<uint8_t>& bytes = sink_.bytes;
  EXPECT_EQ(bytes.size() % kBundleAlignment, 0u);
  qxi::MemoryByteSource source(bytes);
  const BundleContents contents = OpenBundle(source);
  EXPECT_EQ(contents.kind, BundleKind::kSetup);
  ASSERT_EQ(contents.entries.size(), 5u);

  const BundleSettings settings = DecodeSettings(UnpackText(source, *contents.Find(EntryRole::kSettings)));
  EXPECT_EQ(settings.product.name, "Lumen Notes");
  EXPECT_EQ(settings.product.publisher, "Lumen Software");
  EXPECT_EQ(settings.install_dir, "$PROGRAMFILES$\\Lumen Notes");
  EXPECT_EQ(UnpackText(source, *contents.Find(EntryRole::kEngine)), Text(inputs_.engine));

  const char* names[] = {"setup.qxs", "noise.bin", "empty.txt"};
  const EntryMethod methods[] = {EntryMethod::kImplode, EntryMethod::kStored, EntryMethod::kStored};
  for (size_t i = 0; i < 3; ++i) {
    const BundleEntry& entry = contents.entries[2 + i];
    EXPECT_EQ(entry.name, names[i]);
    EXPECT_EQ(entry.header.method, methods[i]) << names[i];
    std::ifstream file(files_[i].disk_path, std::ios::binary);
    const std::string original((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(UnpackText(source, entry), original) << names[i];
  }
  // The repeated script lines shrink to a fraction.
  EXPECT_LT(contents.entries[2].header.stored_size * 4, contents.entries[2].header.size);

  // The same inputs give the same bytes.
  MemorySink again;
  BuildBundle(inputs_, again);
  EXPECT_EQ(again.bytes, bytes);
}

TEST_F(BundleFormat, RefusesEveryFlippedBitAndEveryCut) {
  const std::vector<uint8_t>& bytes = sink_.bytes;
  std::vector<uint8_t> damaged = bytes;
  size_t refused = 0;
  // Every byte, each with one of its bits: the CRC sees any single bit, and what is tried
  // here is that no byte lies outside every check.
  for (size_t at = 0; at < bytes.size(); ++at) {
    const int bit = static_cast<int>(at % 8);
    damaged[at] ^= static_cast<uint8_t>(1 << bit);
    try {
      Open(damaged);
      ADD_FAILURE() << "bit " << bit << " of byte " << at << " went unseen";
    } catch (const BundleError&) {
      ++refused;
    }
    damaged[at] = bytes[at];
  }
  EXPECT_EQ(refused, bytes.size());
  for (size_t length = 0; length < bytes.size(); ++length) {
    EXPECT_THROW(Open(std::vector<uint8_t>(bytes.begin(), bytes.begin() + length)), BundleError)
        << length;
  }
}

// A signature appends a certificate table, points the directory entry at it and rewrites the
// image checksum: the bundle stays readable. A certificate entry that does not describe
// exactly what follows the bundle is refused.
TEST_F(BundleFormat, TakesASignatureAfterItsOwnBytes) {
  std::vector<uint8_t> signed_bytes = sink_.bytes;
  const PeLayout layout = ReadPeLayout(signed_bytes.data(), signed_bytes.size());
  const uint32_t table = static_cast<uint32_t>(signed_bytes.size());
  signed_bytes.resize(table + 24, 0x5A);
  Put32(table, &signed_bytes[layout.security_entry_offset]);
  Put32(24, &signed_bytes[layout.security_entry_offset + 4]);
  ImageChecksum checksum(layout.checksum_offset);
  checksum.Add(signed_bytes.data(), signed_bytes.size());
  Put32(checksum.Value(), &signed_bytes[layout.checksum_offset]);
  EXPECT_EQ(Open(signed_bytes).entries.size(), 5u);

  std::vector<uint8_t> wrong = signed_bytes;
  Put32(24 + 8, &wrong[layout.security_entry_offset + 4]);
  checksum = ImageChecksum(layout.checksum_offset);
  checksum.Add(wrong.data(), wrong.size());
  Put32(checksum.Value(), &wrong[layout.checksum_offset]);
  EXPECT_THROW(Open(wrong), BundleError);
}

TEST(ImageChecksum, FoldsCarriesAndAddsTheLengthWhateverThePieces) {
  const uint8_t bytes[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x03, 0x11, 0x22};
  // 0xFFFF + 0xFFFF + 0x0002 folds to 0x0002; the field at 6..9 counts as zero; + 9 bytes.
  ImageChecksum whole(6);
  whole.Add(bytes, sizeof bytes);
  EXPECT_EQ(whole.Value(), 0x0002u + 9);
  ImageChecksum pieces(6);
  for (const uint8_t& byte : bytes) pieces.Add(&byte, 1);
  EXPECT_EQ(pieces.Value(), whole.Value());
  ImageChecksum odd(100);
  odd.Add(bytes, 3);
  odd.Add(bytes + 3, 6);
  EXPECT_EQ(odd.Value(), ((0xFFFFu + 0xFFFF + 0x0002 + 0x1103 + 0x22) % 0xFFFF) + 9);
}

TEST(PeImage, RefusesAStubWithoutRoomOrWithDataAfterItsSections) {
  std::vector<uint8_t> full = MakeTestImage(0x8664, 15);  // the table ends 32 bytes short of 1024
  EXPECT_THROW(AppendResourceSection(&full, ".rsrc", {1, 2, 3}), BundleError);
  std::vector<uint8_t> trailing = MakeTestImage(0x14C, 2);
  trailing.push_back(0);
  EXPECT_THROW(AppendResourceSection(&trailing, ".rsrc", {1, 2, 3}), BundleError);

  std::vector<uint8_t> image = MakeTestImage(0x8664, 2);
  AppendResourceSection(&image, ".rsrc", std::vector<uint8_t>(600, 9));
  const PeLayout layout = ReadPeLayout(image.data(), image.size());
  EXPECT_EQ(layout.section_count, 3);
  EXPECT_EQ(layout.raw_end, image.size());
  EXPECT_EQ(image.size(), 1024u + 2 * 512 + 1024);
  EXPECT_EQ(Get32(&image[layout.resource_entry_offset]), 3u * 4096);
  EXPECT_EQ(Get32(&image[layout.resource_entry_offset + 4]), 600u);
  EXPECT_THROW(AppendResourceSection(&image, ".rsrc", {1}), BundleError);  // has resources now
}

}  // namespace
}  // namespace qxibundle
