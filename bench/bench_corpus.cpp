// Builds the benchmark corpora from the machine's own files.
#include "bench_corpus.h"

#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace qxi {
namespace bench {
namespace {

namespace fs = std::filesystem;

// Regular files (symbolic links not followed) under root whose names pass `keep`, sorted.
template <typename Keep>
std::vector<std::string> ListFiles(const std::string& root, bool recurse, Keep keep) {
  std::vector<std::string> files;
  std::error_code ec;
  auto take = [&](const fs::directory_entry& e) {
    if (e.is_regular_file(ec) && !e.is_symlink(ec) && keep(e.path().filename().string())) {
      files.push_back(e.path().string());
    }
  };
  if (recurse) {
    for (const auto& e : fs::recursive_directory_iterator(root, ec)) take(e);
  } else {
    for (const auto& e : fs::directory_iterator(root, ec)) take(e);
  }
  std::sort(files.begin(), files.end());
  return files;
}

void Append(std::vector<uint8_t>* out, const std::string& path, size_t limit) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t take = std::min(bytes.size(), limit - std::min(limit, out->size()));
  out->insert(out->end(), bytes.begin(), bytes.begin() + take);
}

void AppendGunzipped(std::vector<uint8_t>* out, const std::string& path, size_t limit) {
  gzFile file = gzopen(path.c_str(), "rb");
  if (file == nullptr) return;
  char buffer[65536];
  int got;
  while (out->size() < limit && (got = gzread(file, buffer, sizeof buffer)) > 0) {
    const size_t take = std::min<size_t>(got, limit - out->size());
    out->insert(out->end(), buffer, buffer + take);
  }
  gzclose(file);
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

const std::vector<uint8_t>& TextCorpus() {
  static const std::vector<uint8_t> corpus = [] {
    std::vector<uint8_t> out;
    for (const auto& f : ListFiles("/usr/share/common-licenses", false, [](const std::string&) { return true; })) {
      Append(&out, f, kCorpusBytes);
    }
    const size_t half = kCorpusBytes / 2;
    for (const auto& f : ListFiles("/usr/share/man/man1", false,
                                   [](const std::string& n) { return EndsWith(n, ".gz"); })) {
      if (out.size() >= half) break;
      AppendGunzipped(&out, f, half);
    }
    for (const auto& f : ListFiles("/usr/include", true,
                                   [](const std::string& n) { return EndsWith(n, ".h"); })) {
      if (out.size() >= kCorpusBytes) break;
      Append(&out, f, kCorpusBytes);
    }
    return out;
  }();
  return corpus;
}

const std::vector<uint8_t>& ElfCorpus() {
  static const std::vector<uint8_t> corpus = [] {
    std::vector<uint8_t> out;
    for (const auto& f : ListFiles("/usr/bin", false, [](const std::string&) { return true; })) {
      if (out.size() >= kCorpusBytes) break;
      std::ifstream in(f, std::ios::binary);
      char magic[4] = {};
      if (!in.read(magic, 4) || std::string(magic, 4) != "\x7f" "ELF") continue;
      Append(&out, f, kCorpusBytes);
    }
    return out;
  }();
  return corpus;
}

}  // namespace bench
}  // namespace qxi
