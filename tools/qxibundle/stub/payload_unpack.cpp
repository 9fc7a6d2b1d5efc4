#include "payload_unpack.h"

#include <windows.h>

#include "stub_files.h"

namespace qxistub {
namespace {

void UnpackTo(qxi::ByteSource& bundle, const qxibundle::BundleEntry& entry,
              const std::string& path) {
  OutputFile output(path, true);
  qxibundle::UnpackEntry(bundle, entry, output);
  output.Close();
}

}  // namespace

void UnpackPayload(qxi::ByteSource& bundle, const qxibundle::BundleContents& contents,
                   const std::string& folder, bool with_files) {
  UnpackTo(bundle, *contents.Find(qxibundle::EntryRole::kEngine), folder + "\\" + kEngineFileName);
  if (!with_files) return;
  const std::string files = folder + "\\" + kSetupFolderName;
  if (!CreateDirectoryA(files.c_str(), nullptr)) {
    throw StubError(SystemFailure("cannot make the folder " + files, GetLastError()));
  }
  for (const qxibundle::BundleEntry& entry : contents.entries) {
    if (entry.header.role != qxibundle::EntryRole::kFile) continue;
    MakeFoldersFor(files, entry.name);
    UnpackTo(bundle, entry, files + "\\" + entry.name);
  }
}

}  // namespace qxistub
