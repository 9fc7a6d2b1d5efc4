#include "uninstaller_image.h"

#include <vector>

#include "bundle_writer.h"
#include "stub_files.h"

namespace qxistub {

void WriteUninstaller(qxi::ByteSource& own, const qxibundle::BundleContents& contents,
                      const std::string& path) {
  std::vector<uint8_t> image(static_cast<size_t>(contents.payload_offset));
  own.Seek(0);
  own.ReadExact(image.data(), image.size());
  WriteThenReplace(path, [&](OutputFile& file) {
    qxibundle::BundleWriter writer(file, std::move(image));
    for (qxibundle::EntryRole role : {qxibundle::EntryRole::kSettings, qxibundle::EntryRole::kEngine}) {
      const qxibundle::BundleEntry& entry = *contents.Find(role);
      writer.AddEntryFrom(entry.header, entry.name, own, entry.data_offset);
    }
    writer.Finish(qxibundle::BundleKind::kUninstaller);
  });
}

}  // namespace qxistub
