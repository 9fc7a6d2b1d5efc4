#include "bundle_builder.h"

#include <algorithm>

#include "archive/implode/crc32.h"
#include "archive/implode/implode.h"
#include "archive_file.h"
#include "create_command.h"
#include "resource_section.h"

namespace qxibundle {
namespace {

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
  if (data.size() <= 0xFFFFFFFFu) {
    const qxi::ImplodeOptions options{
        qxzpack::LooksLikeText(data.data(), data.size()) ? qxi::ImplodeLiterals::kCoded
                                                         : qxi::ImplodeLiterals::kBinary,
        4096, qxi::ImplodeEffort::kBest};
    qxi::Implode(data.data(), data.size(), options, &entry.stored);
  }
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

}  // namespace qxibundle
