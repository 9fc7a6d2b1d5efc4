// Each file is written whole or not at all, so that a failure leaves the earlier journal,
// script or uninstaller as it was. Paths are compared as the file system compares them:
// ignoring letter case.
#include "kept_uninstaller.h"

#include <windows.h>

#include <initializer_list>
#include <set>
#include <string_view>

#include "engine/journal_text.h"
#include "engine/unique_handle.h"
#include "stub_files.h"
#include "uninstall_entry.h"
#include "uninstall_script.h"
#include "uninstaller_image.h"

namespace qxistub {
namespace {

std::string Upper(std::string text) {
  if (!text.empty()) CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

std::string ParentOf(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The whole file, or "" when there is none.
std::string ReadWholeText(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return std::string();
  ReadFileSource file(path);
  std::string text(static_cast<size_t>(file.Size()), '\0');
  if (!text.empty()) file.ReadExact(&text[0], text.size());
  return text;
}

void WriteWholeFile(const std::string& path, const std::string& text) {
  WriteThenReplace(path, [&text](OutputFile& file) { file.Write(text.data(), text.size()); });
}

// Makes `folder` and the folders above it that are missing; returns those made, outermost
// first.
std::vector<std::string> MakeFolderChain(const std::string& folder) {
  std::vector<std::string> missing;
  for (std::string at = folder; !at.empty() && GetFileAttributesA(at.c_str()) == INVALID_FILE_ATTRIBUTES;
       at = ParentOf(at)) {
    missing.insert(missing.begin(), at);
  }
  std::vector<std::string> made;
  for (const std::string& level : missing) {
    if (CreateDirectoryA(level.c_str(), nullptr)) {
      made.push_back(level);
    } else if (const DWORD error = GetLastError(); error != ERROR_ALREADY_EXISTS) {
      throw StubError(SystemFailure("cannot make the folder " + level, error));
    }
  }
  return made;
}

// The records of `kinds` in a journal text: each one's first field after the kind.
std::set<std::string> RecordedPaths(const std::string& journal, std::initializer_list<const char*> kinds) {
  std::set<std::string> paths;
  std::vector<std::string> fields;
  for (size_t at = 0; at < journal.size();) {
    size_t end = journal.find('\n', at);
    if (end == std::string::npos) end = journal.size();
    std::string_view line(journal.data() + at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    at = end + 1;
    if (!qxi::ParseJournalLine(line, fields) || fields.size() < 2) continue;
    for (const char* kind : kinds) {
      if (fields[0] == kind) paths.insert(Upper(fields[1]));
    }
  }
  return paths;
}

uint64_t SizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return 0;
  }
  return uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
}

// What Add/Remove Programs shows as the size: every file the runs wrote that is still there,
// and the uninstaller's own files, in KB rounded up.
uint32_t EstimatedSizeKb(const std::string& journal, const std::string& folder) {
  uint64_t bytes = 0;
  for (const std::string& path :
       RecordedPaths(journal, {qxi::journal_kind::kFileWrite, qxi::journal_kind::kRestartReplace})) {
    bytes += SizeOf(path);
  }
  for (const char* name : {kJournalFileName, kUninstallScriptName, kUninstallerFileName}) {
    bytes += SizeOf(folder + "\\" + name);
  }
  const uint64_t kb = (bytes + 1023) / 1024;
  return kb > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(kb);
}

// Whether `folder` holds one thing only, `name`, which waits for the restart.
bool HoldsOnly(const std::string& folder, const std::string& name) {
  if (name.empty()) return false;
  WIN32_FIND_DATAA found;
  qxi::UniqueFindHandle find(FindFirstFileA((folder + "\\*").c_str(), &found));
  if (!find) return false;
  int others = 0;
  do {
    const std::string entry = found.cFileName;
    if (entry != "." && entry != ".." && Upper(entry) != Upper(name)) ++others;
  } while (FindNextFileA(find.get(), &found));
  return others == 0;
}

// `path` with each part in its long form, as the journal names folders; as it is when the
// system cannot tell.
std::string LongPath(const std::string& path) {
  char buffer[MAX_PATH] = {};
  const DWORD length = GetLongPathNameA(path.c_str(), buffer, sizeof buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : path;
}

}  // namespace

KeptUninstaller KeepUninstaller(const std::string& folder, const std::string& install_location,
                                std::string run_journal, qxi::ByteSource& own,
                                const qxibundle::BundleContents& contents,
                                const qxibundle::BundleSettings& settings) {
  for (const std::string& made : MakeFolderChain(folder)) {
    run_journal += qxi::JournalLine({qxi::journal_kind::kFolderMake, made}) + "\r\n";
  }
  const std::string journal_path = folder + "\\" + kJournalFileName;
  std::string journal = ReadWholeText(journal_path);
  if (!journal.empty() && journal.back() != '\n') journal += "\r\n";
  journal += run_journal;
  WriteWholeFile(journal_path, journal);

  const qxirun::UninstallScript script = qxirun::MakeUninstallScript(journal, journal_path);
  WriteWholeFile(folder + "\\" + kUninstallScriptName, script.text);
  KeptUninstaller kept{folder + "\\" + kUninstallerFileName, script.problems};
  WriteUninstaller(own, contents, kept.uninstaller);

  UninstallEntry entry;
  entry.install_location = install_location;
  entry.uninstaller = kept.uninstaller;
  entry.estimated_size_kb = EstimatedSizeKb(journal, folder);
  entry.has_icon = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14)) != nullptr;
  WriteUninstallEntry(settings, entry);
  return kept;
}

int RemoveUninstaller(const std::string& own_path, const qxibundle::BundleSettings& settings) {
  DeleteUninstallEntry(settings);
  const std::string folder = ParentOf(LongPath(own_path));
  const std::string journal_path = folder + "\\" + kJournalFileName;
  const std::set<std::string> made =
      RecordedPaths(ReadWholeText(journal_path), {qxi::journal_kind::kFolderMake});
  DeleteFileA(journal_path.c_str());
  DeleteFileA((folder + "\\" + kUninstallScriptName).c_str());

  int left = 0;
  // The name in the folder being removed that waits for the restart: a folder holding only
  // it goes at the restart too, after it.
  std::string waiting;
  if (!DeleteFileA(own_path.c_str())) {
    if (!MoveFileExA(own_path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return left;
    ++left;
    waiting = kUninstallerFileName;
  }
  // The uninstaller's folder is its own; a folder above it goes only if the runs made it.
  for (std::string at = folder; at.find('\\') != std::string::npos; at = ParentOf(at)) {
    if (at != folder && made.count(Upper(at)) == 0) break;
    const std::string name = at.substr(at.find_last_of('\\') + 1);
    if (RemoveDirectoryA(at.c_str())) {
      waiting.clear();
    } else if (HoldsOnly(at, waiting) &&
               MoveFileExA(at.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
      ++left;
      waiting = name;
    } else {
      break;
    }
  }
  return left;
}

}  // namespace qxistub
