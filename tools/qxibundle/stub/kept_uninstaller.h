// The uninstaller an installation keeps: in a folder of the installation, the journal of
// every run of its setup, the uninstall script made from the whole journal and uninstall.exe;
// and the entry under Add/Remove Programs that names it. Running the setup again adds its run
// to the same journal, so that one uninstaller removes what every run made.
#pragma once

#include <string>
#include <vector>

#include "archive/byte_source.h"
#include "bundle_reader.h"
#include "bundle_settings.h"

namespace qxistub {

constexpr char kUninstallFolderName[] = "Uninstall";
constexpr char kJournalFileName[] = "journal.txt";
constexpr char kUninstallScriptName[] = "uninstall.qxs";
constexpr char kUninstallerFileName[] = "uninstall.exe";

/// What KeepUninstaller did, for the log.
struct KeptUninstaller {
  std::string uninstaller;            ///< the full path of uninstall.exe
  std::vector<std::string> problems;  ///< journal lines the uninstall script leaves out
};

/// After a setup's run: makes `folder` (journalling each level made, so that the
/// uninstaller removes them when they are empty), appends `run_journal` (the run's lines,
/// RunJournal::text) to its journal file,
/// writes the uninstall script of the whole journal and the uninstaller (this setup's stub
/// and engine from `own`, read by OpenBundle into `contents`), then registers the entry with
/// `install_location`. Throws StubError or BundleError.
KeptUninstaller KeepUninstaller(const std::string& folder, const std::string& install_location,
                                std::string run_journal, qxi::ByteSource& own,
                                const qxibundle::BundleContents& contents,
                                const qxibundle::BundleSettings& settings);

/// After an uninstallation that reported nothing: deletes the entry, the journal, the
/// uninstall script, the uninstaller at `own_path` and its folder, then each folder above it
/// that the journal says the installation made, while it holds nothing else. What cannot go
/// now (the running uninstaller) goes at the next restart, with the folders that hold it.
/// Returns how many files and folders wait for the restart. Throws StubError when the entry
/// cannot be deleted.
int RemoveUninstaller(const std::string& own_path, const qxibundle::BundleSettings& settings);

}  // namespace qxistub
