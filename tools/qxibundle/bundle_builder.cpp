#include "bundle_builder.h"

#include <algorithm>
#include <cstdio>

#include "archive/implode/crc32.h"
#include "archive/implode/implode.h"
#include "archive_file.h"
#include "bundle_reader.h"
#include "create_command.h"
#include "resource_section.h"

namespace qxibundle {
namespace {

// A large file whose first part does not shrink by 2% is stored without a try of the whole.
constexpr size_t kSampleSize = 64 * 1024;

uint32_t Crc32Of(const std::vector<uint8_t>& data) {
  uint32_t crc = 0xFFFFFFFFu;
  constexpr size_t kSlice = size_t{1} << 30;
  for (size_t at = 0; at < data.size(); at += kSlice) {
    const unsigned n = static_cast<unsigned>(std::min(kSlice, data.size() - at));
    crc = qxi::Crc32Update(data.data() + at, &n, &crc);
  }
  return ~crc;
}

// The stub with the product's resource section, placed where the section will be loaded.
std::vector<uint8_t> StubWithResources(const BundleInputs& inputs) {
  std::vector<uint8_t> image = inputs.stub;
  const PeLayout layout = ReadPeLayout(image.data(), image.size());
  const uint64_t rva = (layout.virtual_end + layout.section_alignment - 1) /
                       layout.section_alignment * layout.section_alignment;
  const std::vector<uint8_t> section = BuildResourceSection(
      ProductResources(inputs.settings.product, inputs.icon), static_cast<uint32_t>(rva));
  AppendResourceSection(&image, ".rsrc", section);
  return image;
}

void AddPacked(BundleWriter& writer, EntryRole role, const std::string& name,
               const std::vector<uint8_t>& data) {
  const PackedEntry packed = PackEntry(role, data);
  writer.AddEntry(packed.header, name, packed.stored.data(), packed.stored.size());
}

}  // namespace

PackedEntry PackEntry(EntryRole role, const std::vector<uint8_t>& data) {
  PackedEntry entry;
  entry.header.role = role;
  entry.header.size = data.size();
  entry.header.crc = Crc32Of(data);
  // Files that are compressed already (archives, media) come out larger: they are stored.
  // A large file is tried on its first part first, so that such files cost no whole pass.
  const qxi::ImplodeOptions options{
      qxzpack::LooksLikeText(data.data(), data.size()) ? qxi::ImplodeLiterals::kCoded
                                                       : qxi::ImplodeLiterals::kBinary,
      4096, qxi::ImplodeEffort::kBest};
  bool worth_trying = data.size() <= 0xFFFFFFFFu;
  if (worth_trying && data.size() > kSampleSize * 4) {
    std::vector<uint8_t> sample;
    qxi::Implode(data.data(), kSampleSize, options, &sample);
    worth_trying = sample.size() < kSampleSize - kSampleSize / 50;
  }
  if (worth_trying) qxi::Implode(data.data(), data.size(), options, &entry.stored);
  if (entry.stored.empty() || entry.stored.size() >= data.size()) {
    entry.stored = data;
    entry.header.method = EntryMethod::kStored;
  } else {
    entry.header.method = EntryMethod::kImplode;
  }
  return entry;
}

void BuildBundle(const BundleInputs& inputs, BundleSink& sink) {
  const PeLayout stub = ReadPeLayout(inputs.stub.data(), inputs.stub.size());
  const PeLayout engine = ReadPeLayout(inputs.engine.data(), inputs.engine.size());
  if (stub.machine != engine.machine) {
    throw BundleError("the stub and QXI.dll are built for different processors");
  }
  BundleWriter writer(sink, StubWithResources(inputs));
  const std::string settings = EncodeSettings(inputs.settings);
  AddPacked(writer, EntryRole::kSettings, "",
            std::vector<uint8_t>(settings.begin(), settings.end()));
  AddPacked(writer, EntryRole::kEngine, "", inputs.engine);
  for (const FolderFile& file : inputs.files) {
    AddPacked(writer, EntryRole::kFile, file.name, qxzpack::ReadWholeFile(file.disk_path));
  }
  writer.Finish(BundleKind::kSetup);
}

std::string ListBundle(qxi::ByteSource& file) {
  const BundleContents contents = OpenBundle(file);
  std::vector<uint8_t> headers(static_cast<size_t>(std::min<uint64_t>(contents.payload_offset, 4096)));
  file.Seek(0);
  file.ReadExact(headers.data(), headers.size());
  const PeLayout layout = ReadPeLayout(headers.data(), headers.size());
  static const char* const kRoles[] = {"file", "engine", "settings"};
  char line[512];
  std::string out;
  std::snprintf(line, sizeof line, "%-8s %10s %10s %-8s %10s %s\n", "PART", "OFFSET", "STORED",
                "METHOD", "SIZE", "NAME");
  out += line;
  std::snprintf(line, sizeof line, "%-8s %10d %10llu %-8s %10s checksum field at %u\n", "image", 0,
                static_cast<unsigned long long>(contents.payload_offset), "-", "-",
                layout.checksum_offset);
  out += line;
  uint64_t end = contents.payload_offset;
  for (const BundleEntry& entry : contents.entries) {
    const EntryHeader& header = entry.header;
    end = entry.data_offset + header.stored_size;
    std::snprintf(line, sizeof line, "%-8s %10llu %10llu %-8s %10llu %s\n",
                  kRoles[static_cast<int>(header.role)],
                  static_cast<unsigned long long>(entry.header_offset),
                  static_cast<unsigned long long>(end - entry.header_offset),
                  header.method == EntryMethod::kStored ? "stored" : "implode",
                  static_cast<unsigned long long>(header.size),
                  header.role == EntryRole::kEngine ? "QXI.dll" : entry.name.c_str());
    out += line;
  }
  const uint64_t trailer = end + (kBundleAlignment - (end + kTrailerSize) % kBundleAlignment) % kBundleAlignment;
  std::snprintf(line, sizeof line, "%-8s %10llu %10llu %-8s %10s crc field at %llu\n", "trailer",
                static_cast<unsigned long long>(trailer), static_cast<unsigned long long>(kTrailerSize),
                "-", "-", static_cast<unsigned long long>(trailer + kTrailerCrcOffset));
  out += line;
  std::snprintf(line, sizeof line, "%s, %llu bytes\n",
                contents.kind == BundleKind::kSetup ? "setup" : "uninstaller",
                static_cast<unsigned long long>(file.Size()));
  out += line;
  return out;
}

}  // namespace qxibundle
