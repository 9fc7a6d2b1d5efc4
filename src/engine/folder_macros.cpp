#include "engine/folder_macros.h"

#include <cstring>

#include "engine/qx_err.h"
#include "engine/text_compare.h"
#include "engine/walk_mode.h"

namespace qxi {

const char* const kFolderMacroList[kFolderMacroCount] = {
    "CDROM", "WINDIR", "SYSDIR",  "START",        "STARTUP",
    "PROGS", "TEMP",   "DESKTOP", "PROGRAMFILES", "SCRIPTDIR"};

namespace {

std::string& MacroScriptStorage() {
  static std::string path;
  return path;
}

}  // namespace

ScopedMacroScript::ScopedMacroScript(const std::string& path) : saved_(MacroScriptStorage()) {
  MacroScriptStorage() = path;
}

ScopedMacroScript::~ScopedMacroScript() { MacroScriptStorage().swap(saved_); }

const std::string& MacroScriptPath() { return MacroScriptStorage(); }

std::string FolderOfScript(const std::string& full_path) {
  const size_t slash = full_path.rfind('\\');
  if (slash == std::string::npos) return std::string();
  // A drive root keeps no backslash, as $WINDIR$ keeps none for C:\.
  return full_path.substr(0, slash);
}

std::string ExpandFolderMacros(std::string_view text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c != '$') {
      out += c;
      ++i;
      continue;
    }
    if (i + 1 == text.size()) throw QXErr(kSyntaxError);
    if (text[i + 1] == '$') {
      out += '$';
      i += 2;
      continue;
    }
    size_t close = text.find('$', i + 1);
    if (close == std::string_view::npos) throw QXErr(kSyntaxError);
    std::string_view name = text.substr(i + 1, close - i - 1);
    size_t position = 0;
    while (position < kFolderMacroCount && !NamesEqual(name, kFolderMacroList[position])) {
      ++position;
    }
    if (position == kFolderMacroCount) throw QXErr(kSyntaxError);
    out += CurrentWalkMode().Folder(position);
    i = close + 1;
  }
  return out;
}

std::string DirectoryQueryText(size_t length, const char* buffer, size_t buffer_size) {
  if (length == 0 || length >= buffer_size) return std::string();
  std::string text(buffer, length);
  if (text.size() == 3) text.resize(2);
  return text;
}

std::string FirstCdromDrive(const char* list, size_t length, bool (*is_cdrom)(const char* root)) {
  size_t i = 0;
  while (i < length && list[i] != '\0') {
    // A root that is not ended by a NUL inside the list is cut off: it is not looked at.
    const void* nul = std::memchr(list + i, '\0', length - i);
    if (nul == nullptr) break;
    const char* root = list + i;
    if (is_cdrom(root)) return std::string(1, root[0]) + ':';
    i = static_cast<size_t>(static_cast<const char*>(nul) - list) + 1;
  }
  return "D:";
}

}  // namespace qxi
