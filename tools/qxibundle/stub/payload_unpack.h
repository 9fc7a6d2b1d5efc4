// Unpacking a setup's payload into its private folder: QXI.dll at the top, the setup folder's
// files below "setup", each file new (nothing is written over what might have been put
// there) and checked against its CRC as it is written.
#pragma once

#include <string>

#include "archive/byte_source.h"
#include "bundle_reader.h"

namespace qxistub {

/// The engine's file name in the private folder, and the folder of the script's files.
constexpr char kEngineFileName[] = "QXI.dll";
constexpr char kSetupFolderName[] = "setup";

/// Writes the engine entry as `folder`\QXI.dll and, with `with_files`, every file entry below
/// `folder`\setup. Throws StubError (a file cannot be written) or BundleError (an entry does
/// not unpack to what was packed).
void UnpackPayload(qxi::ByteSource& bundle, const qxibundle::BundleContents& contents,
                   const std::string& folder, bool with_files);

}  // namespace qxistub
