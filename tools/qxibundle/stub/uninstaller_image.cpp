#include "uninstaller_image.h"

#include <windows.h>

#include <vector>

#include "bundle_writer.h"
#include "stub_files.h"

namespace qxistub {

void WriteUninstaller(qxi::ByteSource& own, const qxibundle::BundleContents& contents,
                      const std::string& path) {
  std::vector<uint8_t> image(static_cast<size_t>(contents.payload_offset));
  own.Seek(0);
  own.ReadExact(image.data(), image.size());
  const std::string partial = path + ".part";
  try {
    OutputFile file(partial, false);
    qxibundle::BundleWriter writer(file, std::move(image));
    for (qxibundle::EntryRole role : {qxibundle::EntryRole::kSettings, qxibundle::EntryRole::kEngine}) {
      const qxibundle::BundleEntry& entry = *contents.Find(role);
      writer.AddEntryFrom(entry.header, entry.name, own, entry.data_offset);
    }
    writer.Finish(qxibundle::BundleKind::kUninstaller);
    file.Close();
  } catch (...) {
    DeleteFileA(partial.c_str());
    throw;
  }
  if (!MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    const DWORD error = GetLastError();
    DeleteFileA(partial.c_str());
    throw StubError(SystemFailure("cannot write " + path, error));
  }
}

}  // namespace qxistub
