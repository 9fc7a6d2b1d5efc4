// Resource formats as Windows reads them: the version record is a tree of nodes, each a
// length, a value length, a type (0 binary, 1 text), a UTF-16 key, padding to 4 bytes, the
// value and the children; the icon group repeats each image's .ico directory entry with a
// resource id in place of the file offset.
#include "product_resources.h"

#include <cstring>

#include "bundle_layout.h"

namespace qxibundle {
namespace {

// The operating systems the setup was written for, newest last: Vista, 7, 8, 8.1, 10 and 11.
constexpr const char* kSupportedOs[] = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"};

class VersionNode {
 public:
  VersionNode(const char16_t* key, bool text) {
    bytes_.resize(6, 0);
    Put16(text ? 1 : 0, &bytes_[4]);
    for (const char16_t* c = key; *c; ++c) AddUnit(*c);
    AddUnit(0);
    Pad();
  }
  /// The value: binary bytes (value length in bytes) or text (value length in units).
  void SetValue(const uint8_t* data, size_t size, size_t value_length) {
    bytes_.insert(bytes_.end(), data, data + size);
    Put16(static_cast<uint16_t>(value_length), &bytes_[2]);
  }
  void SetText(const std::u16string& text) {
    const size_t at = bytes_.size();
    for (char16_t c : text) AddUnit(c);
    AddUnit(0);
    Put16(static_cast<uint16_t>((bytes_.size() - at) / 2), &bytes_[2]);
  }
  void AddChild(const VersionNode& child) {
    Pad();
    const std::vector<uint8_t> bytes = child.Finish();
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  }
  std::vector<uint8_t> Finish() const {
    std::vector<uint8_t> bytes = bytes_;
    if (bytes.size() > 0xFFFF) throw BundleError("the version texts are too long");
    Put16(static_cast<uint16_t>(bytes.size()), &bytes[0]);
    return bytes;
  }

 private:
  void AddUnit(char16_t c) {
    bytes_.push_back(static_cast<uint8_t>(c));
    bytes_.push_back(static_cast<uint8_t>(c >> 8));
  }
  void Pad() { bytes_.resize((bytes_.size() + 3) & ~size_t{3}, 0); }

  std::vector<uint8_t> bytes_;
};

VersionNode StringNode(const char16_t* key, const std::u16string& value) {
  VersionNode node(key, true);
  node.SetText(value);
  return node;
}

}  // namespace

std::string ManifestText(bool per_user) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
      "  <trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">\n"
      "    <security>\n"
      "      <requestedPrivileges>\n"
      "        <requestedExecutionLevel level=\"";
  text += per_user ? "asInvoker" : "requireAdministrator";
  text +=
      "\" uiAccess=\"false\"/>\n"
      "      </requestedPrivileges>\n"
      "    </security>\n"
      "  </trustInfo>\n"
      "  <compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">\n"
      "    <application>\n";
  for (const char* id : kSupportedOs) {
    text += "      <supportedOS Id=\"";
    text += id;
    text += "\"/>\n";
  }
  text +=
      "    </application>\n"
      "  </compatibility>\n"
      "  <application xmlns=\"urn:schemas-microsoft-com:asm.v3\">\n"
      "    <windowsSettings>\n"
      "      <dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>\n"
      "    </windowsSettings>\n"
      "  </application>\n"
      "  <dependency>\n"
      "    <dependentAssembly>\n"
      "      <assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" "
      "version=\"6.0.0.0\" processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" "
      "language=\"*\"/>\n"
      "    </dependentAssembly>\n"
      "  </dependency>\n"
      "</assembly>\n";
  return text;
}

void VersionNumbers(const std::string& version, uint16_t numbers[4]) {
  size_t at = 0;
  for (int part = 0; part < 4; ++part) numbers[part] = 0;
  for (int part = 0; part < 4; ++part) {
    uint32_t value = 0;
    size_t digits = 0;
    while (at < version.size() && version[at] >= '0' && version[at] <= '9' && value < 65536) {
      value = value * 10 + static_cast<uint32_t>(version[at++] - '0');
      ++digits;
    }
    if (digits == 0 || value > 65535) return;
    numbers[part] = static_cast<uint16_t>(value);
    if (at >= version.size() || version[at] != '.') return;
    ++at;
  }
}

std::vector<uint8_t> VersionRecord(const ProductFacts& facts) {
  uint16_t numbers[4];
  VersionNumbers(facts.version, numbers);
  uint8_t fixed[52] = {};
  Put32(0xFEEF04BD, fixed);               // signature
  Put32(0x00010000, fixed + 4);           // structure version 1.0
  for (int pair = 0; pair < 2; ++pair) {  // file version, then product version
    Put32(static_cast<uint32_t>(numbers[0]) << 16 | numbers[1], fixed + 8 + 8 * pair);
    Put32(static_cast<uint32_t>(numbers[2]) << 16 | numbers[3], fixed + 12 + 8 * pair);
  }
  Put32(0x3F, fixed + 24);     // flags mask
  Put32(0x00040004, fixed + 32);  // VOS_NT_WINDOWS32
  Put32(1, fixed + 36);           // VFT_APP

  const std::u16string name = Utf8ToUtf16(facts.name, "--name");
  const std::u16string version = Utf8ToUtf16(facts.version, "--version");
  VersionNode table(u"040904B0", true);
  table.AddChild(StringNode(u"CompanyName", Utf8ToUtf16(facts.publisher, "--publisher")));
  table.AddChild(StringNode(u"FileDescription", name + u" Setup"));
  table.AddChild(StringNode(u"FileVersion", version));
  table.AddChild(StringNode(u"ProductName", name));
  table.AddChild(StringNode(u"ProductVersion", version));
  VersionNode strings(u"StringFileInfo", true);
  strings.AddChild(table);

  VersionNode translation(u"Translation", false);
  uint8_t language[4];
  Put16(kLanguageEnglishUs, language);
  Put16(1200, language + 2);
  translation.SetValue(language, sizeof language, sizeof language);
  VersionNode variables(u"VarFileInfo", true);
  variables.AddChild(translation);

  VersionNode root(u"VS_VERSION_INFO", false);
  root.SetValue(fixed, sizeof fixed, sizeof fixed);
  root.AddChild(strings);
  root.AddChild(variables);
  return root.Finish();
}

std::vector<ResourceItem> IconResources(const std::vector<uint8_t>& ico) {
  constexpr size_t kFileHeader = 6, kFileEntry = 16, kGroupEntry = 14;
  auto refuse = [] { throw BundleError("the icon is not an .ico file"); };
  if (ico.size() < kFileHeader || Get16(&ico[0]) != 0 || Get16(&ico[2]) != 1) refuse();
  const size_t count = Get16(&ico[4]);
  if (count == 0 || (ico.size() - kFileHeader) / kFileEntry < count) refuse();
  ResourceItem group{kResourceGroupIcon, 1, kLanguageEnglishUs, {}};
  group.data.assign(ico.begin(), ico.begin() + kFileHeader);
  std::vector<ResourceItem> items;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* entry = &ico[kFileHeader + i * kFileEntry];
    const uint64_t size = Get32(entry + 8);
    const uint64_t offset = Get32(entry + 12);
    if (size == 0 || offset > ico.size() || ico.size() - offset < size) refuse();
    const uint16_t id = static_cast<uint16_t>(i + 1);
    items.push_back({kResourceIcon, id, kLanguageEnglishUs,
                     std::vector<uint8_t>(ico.begin() + static_cast<ptrdiff_t>(offset),
                                          ico.begin() + static_cast<ptrdiff_t>(offset + size))});
    const size_t at = group.data.size();
    group.data.resize(at + kGroupEntry);
    std::memcpy(&group.data[at], entry, 12);
    Put16(id, &group.data[at + 12]);
  }
  items.push_back(std::move(group));
  return items;
}

std::vector<ResourceItem> ProductResources(const ProductFacts& facts,
                                           const std::vector<uint8_t>& ico) {
  const std::string manifest = ManifestText(facts.per_user);
  std::vector<ResourceItem> items = {
      {kResourceManifest, 1, kLanguageEnglishUs,
       std::vector<uint8_t>(manifest.begin(), manifest.end())},
      {kResourceVersion, 1, kLanguageEnglishUs, VersionRecord(facts)},
  };
  if (!ico.empty()) {
    for (ResourceItem& icon : IconResources(ico)) items.push_back(std::move(icon));
  }
  return items;
}

}  // namespace qxibundle
