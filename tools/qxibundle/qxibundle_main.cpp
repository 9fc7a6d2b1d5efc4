// qxibundle: makes one setup program of a setup folder. Checks the script, then writes the
// stub with the product's resources, the settings, QXI.dll and the folder's files beside the
// output's name, and renames it into place only when it is complete.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "archive_file.h"
#include "bundle_builder.h"
#include "bundle_command_line.h"
#include "bundle_host.h"
#include "engine/folder_macros.h"
#include "finding_output.h"
#include "script_checker.h"
#include "source_tree.h"

namespace {

namespace fs = std::filesystem;
using namespace qxibundle;

constexpr int kExitBuilt = 0;
constexpr int kExitNotBuilt = 1;
constexpr int kExitUsage = 2;

// A sink writing to a C stream, with one seek back for the checksum.
class FileSink : public BundleSink {
 public:
  FileSink(std::FILE* file, std::string path) : file_(file), path_(std::move(path)) {}
  void Append(const uint8_t* data, size_t size) override {
    qxzpack::WriteAll(file_, data, size, path_);
  }
  void Overwrite(uint64_t offset, const uint8_t* data, size_t size) override {
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) Fail();
    qxzpack::WriteAll(file_, data, size, path_);
    if (std::fseek(file_, 0, SEEK_END) != 0) Fail();
  }

 private:
  [[noreturn]] void Fail() { throw std::runtime_error(path_ + ": cannot write"); }
  std::FILE* file_;
  std::string path_;
};

// A text that the setup will write into the registry or show: no control characters.
void CheckText(const std::string& text, const char* option) {
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F) throw UsageError(std::string(option) + " holds a control character");
  }
}

// The folder's own name, also when it is given with a trailing slash.
std::string FolderName(const std::string& folder) {
  fs::path path = fs::absolute(folder).lexically_normal();
  if (!path.has_filename()) path = path.parent_path();
  return path.filename().string();
}

BundleSettings SettingsOf(const BundleOptions& options) {
  BundleSettings settings;
  ProductFacts& product = settings.product;
  product.name = ArgumentToUtf8(options.name.empty() ? FolderName(options.source_dir) : options.name);
  product.version = ArgumentToUtf8(options.version);
  product.publisher = ArgumentToUtf8(options.publisher);
  product.per_user = options.per_user;
  settings.install_dir = options.install_dir.empty() ? "$PROGRAMFILES$\\" + product.name
                                                     : ArgumentToUtf8(options.install_dir);
  CheckText(product.name, "--name");
  CheckText(product.version, "--version");
  CheckText(product.publisher, "--publisher");
  CheckText(settings.install_dir, "--install-dir");
  // The name is the key of the uninstall entry: one key, not a path.
  if (product.name.empty() || product.name.find('\\') != std::string::npos) {
    throw UsageError("--name must be a non-empty name without backslashes");
  }
  try {
    qxi::ExpandFolderMacros(settings.install_dir);
  } catch (...) {
    throw UsageError("--install-dir " + settings.install_dir +
                     ": a folder macro that scripts do not know, or a lone $");
  }
  return settings;
}

// The setup folder's files; `script` gets the disk path of its setup.qxs.
std::vector<FolderFile> FolderFiles(const std::string& folder, std::string* script) {
  if (!fs::is_directory(folder)) throw std::runtime_error(folder + ": not a folder");
  std::vector<FolderFile> files;
  for (const qxzpack::SourceFile& file : qxzpack::CollectSourceFiles(folder, {"."})) {
    std::string lower = file.entry_name;
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (lower == "setup.qxs") *script = file.disk_path;
    files.push_back({file.disk_path, file.entry_name});
  }
  if (script->empty()) throw std::runtime_error(folder + ": holds no setup.qxs");
  return files;
}

// qxicheck's check of master section Setup, relative paths from the script's own folder,
// where the setup runs it. Findings go to stderr; true when there is no error.
bool CheckScript(const std::string& script) {
  qxicheck::CheckSettings settings;
  settings.sections.push_back("Setup");
  qxicheck::ScriptChecker checker(settings);
  const bool readable = checker.Check(script);
  checker.Finish();
  const qxicheck::FindingList& findings = checker.findings();
  std::fputs(qxicheck::FindingLines(findings).c_str(), stderr);
  std::fprintf(stderr, "qxibundle: check: %s", qxicheck::SummaryLine(findings).c_str());
  return readable && findings.errors() == 0;
}

int Build(const BundleOptions& options) {
  BundleInputs inputs;
  inputs.settings = SettingsOf(options);
  const fs::path kit = options.kit.empty() ? fs::path(OwnFolder()) : fs::path(options.kit);
  inputs.stub = qxzpack::ReadWholeFile((kit / "qxistub.exe").string());
  inputs.engine = qxzpack::ReadWholeFile((kit / "QXI.dll").string());
  if (!options.icon.empty()) inputs.icon = qxzpack::ReadWholeFile(options.icon);
  std::string script;
  inputs.files = FolderFiles(options.source_dir, &script);
  if (!CheckScript(script) && !options.force) {
    std::fprintf(stderr, "qxibundle: not built: the check found errors (--force builds it anyway)\n");
    return kExitNotBuilt;
  }

  const std::string partial = options.out + ".part";
  qxzpack::UniqueFile out = qxzpack::OpenFile(partial, "wb");
  try {
    FileSink sink(out.get(), partial);
    BuildBundle(inputs, sink);
    qxzpack::CloseChecked(&out, partial);
    std::error_code ignored;
    fs::remove(options.out, ignored);
    fs::rename(partial, options.out);
  } catch (...) {
    out.reset();
    std::error_code ignored;
    fs::remove(partial, ignored);
    throw;
  }
  return kExitBuilt;
}

}  // namespace

int main(int argc, char** argv) {
  BundleOptions options;
  try {
    options = ParseBundleCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
      std::printf("%s", BundleUsageText());
      return kExitBuilt;
    }
    if (!options.list.empty()) {
      qxzpack::ArchiveFileSource file(options.list);
      std::printf("%s", ListBundle(file).c_str());
      return kExitBuilt;
    }
    return Build(options);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "qxibundle: %s\n%s", e.what(), BundleUsageText());
    return kExitUsage;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qxibundle: %s\n", e.what());
    return kExitNotBuilt;
  }
}
