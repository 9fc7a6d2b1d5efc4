#include "bundle_settings.h"

#include "bundle_layout.h"

namespace qxibundle {
namespace {

constexpr const char* kKeys[] = {"Name", "Version", "Publisher", "InstallDir", "PerUser"};

void AddLine(std::string& out, const char* key, const std::string& value) {
  if (value.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
    throw BundleError(std::string(key) + " may not hold a line break");
  }
  out += key;
  out += '=';
  out += value;
  out += '\n';
}

}  // namespace

std::string EncodeSettings(const BundleSettings& settings) {
  std::string out;
  AddLine(out, kKeys[0], settings.product.name);
  AddLine(out, kKeys[1], settings.product.version);
  AddLine(out, kKeys[2], settings.product.publisher);
  AddLine(out, kKeys[3], settings.install_dir);
  AddLine(out, kKeys[4], settings.product.per_user ? "1" : "0");
  return out;
}

BundleSettings DecodeSettings(const std::string& text) {
  std::string values[5];
  bool seen[5] = {};
  auto refuse = [] { throw BundleError("the setup's settings are damaged"); };
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find('\n', at);
    if (end == std::string::npos) refuse();
    const std::string line = text.substr(at, end - at);
    const size_t equals = line.find('=');
    if (equals == std::string::npos) refuse();
    size_t key = 0;
    while (key < 5 && line.compare(0, equals, kKeys[key]) != 0) ++key;
    if (key == 5 || seen[key]) refuse();
    seen[key] = true;
    values[key] = line.substr(equals + 1);
    at = end + 1;
  }
  for (bool found : seen) {
    if (!found) refuse();
  }
  if (values[4] != "0" && values[4] != "1") refuse();
  BundleSettings settings;
  settings.product.name = values[0];
  settings.product.version = values[1];
  settings.product.publisher = values[2];
  settings.install_dir = values[3];
  settings.product.per_user = values[4] == "1";
  return settings;
}

}  // namespace qxibundle
