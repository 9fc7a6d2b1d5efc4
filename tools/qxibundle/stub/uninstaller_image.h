// The uninstaller a setup leaves behind: the same stub with the same resources, carrying the
// settings and QXI.dll of the setup and nothing else, as a bundle of the uninstaller kind.
#pragma once

#include <string>

#include "archive/byte_source.h"
#include "bundle_reader.h"

namespace qxistub {

/// Writes the uninstaller to `path` from `own`, this setup's file as OpenBundle read it into
/// `contents`: written beside it first and moved into place, so that an earlier uninstaller
/// is replaced only by a whole one. Throws StubError or BundleError.
void WriteUninstaller(qxi::ByteSource& own, const qxibundle::BundleContents& contents,
                      const std::string& path);

}  // namespace qxistub
