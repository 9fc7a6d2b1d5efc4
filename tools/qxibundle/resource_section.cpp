// Layout: every directory table first (root, one per type, one per type and id), then one
// data entry per resource, then the data. Offsets inside the directories count from the
// section's start; a data entry holds the data's address in the loaded image.
#include "resource_section.h"

#include <algorithm>
#include <stdexcept>
#include <tuple>

#include "bundle_layout.h"

namespace qxibundle {
namespace {

constexpr size_t kTableHeaderSize = 16;
constexpr size_t kTableEntrySize = 8;
constexpr size_t kDataEntrySize = 16;
constexpr uint32_t kSubdirectoryFlag = 0x80000000u;

size_t Align8(size_t value) { return (value + 7) & ~size_t{7}; }

// A directory table with `count` numbered entries; the caller fills them in.
size_t StartTable(std::vector<uint8_t>& out, size_t count) {
  const size_t at = out.size();
  out.resize(at + kTableHeaderSize + count * kTableEntrySize, 0);
  Put16(static_cast<uint16_t>(count), &out[at + 14]);
  return at;
}

void SetTableEntry(std::vector<uint8_t>& out, size_t table, size_t index, uint32_t id,
                   uint32_t target) {
  uint8_t* entry = &out[table + kTableHeaderSize + index * kTableEntrySize];
  Put32(id, entry);
  Put32(target, entry + 4);
}

}  // namespace

std::vector<uint8_t> BuildResourceSection(std::vector<ResourceItem> items, uint32_t section_rva) {
  auto key = [](const ResourceItem& item) { return std::tie(item.type, item.id, item.language); };
  std::sort(items.begin(), items.end(),
            [&](const ResourceItem& a, const ResourceItem& b) { return key(a) < key(b); });
  for (size_t i = 1; i < items.size(); ++i) {
    if (key(items[i - 1]) == key(items[i])) throw std::invalid_argument("resource given twice");
  }

  // Groups: [type_begin, type_end) ranges of items, and within them runs of one id.
  std::vector<size_t> type_starts, id_starts;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i == 0 || items[i].type != items[i - 1].type) type_starts.push_back(i);
    if (i == 0 || items[i].type != items[i - 1].type || items[i].id != items[i - 1].id) {
      id_starts.push_back(i);
    }
  }
  type_starts.push_back(items.size());
  id_starts.push_back(items.size());

  std::vector<uint8_t> out;
  const size_t root = StartTable(out, type_starts.size() - 1);
  std::vector<size_t> type_tables, id_tables;
  size_t id_run = 0;
  for (size_t t = 0; t + 1 < type_starts.size(); ++t) {
    size_t ids = 0;
    while (id_starts[id_run + ids] < type_starts[t + 1]) ++ids;
    SetTableEntry(out, root, t, items[type_starts[t]].type,
                  kSubdirectoryFlag | static_cast<uint32_t>(out.size()));
    type_tables.push_back(StartTable(out, ids));
    id_run += ids;
  }
  id_run = 0;
  for (size_t t = 0; t + 1 < type_starts.size(); ++t) {
    size_t index = 0;
    for (; id_starts[id_run] < type_starts[t + 1]; ++id_run, ++index) {
      SetTableEntry(out, type_tables[t], index, items[id_starts[id_run]].id,
                    kSubdirectoryFlag | static_cast<uint32_t>(out.size()));
      id_tables.push_back(StartTable(out, id_starts[id_run + 1] - id_starts[id_run]));
    }
  }
  // The language entries point at the data entries, which follow all tables.
  const size_t data_entries = out.size();
  for (size_t run = 0; run + 1 < id_starts.size(); ++run) {
    for (size_t i = id_starts[run]; i < id_starts[run + 1]; ++i) {
      SetTableEntry(out, id_tables[run], i - id_starts[run], items[i].language,
                    static_cast<uint32_t>(data_entries + i * kDataEntrySize));
    }
  }
  out.resize(data_entries + items.size() * kDataEntrySize, 0);
  for (size_t i = 0; i < items.size(); ++i) {
    const size_t at = Align8(out.size());
    uint8_t* entry = &out[data_entries + i * kDataEntrySize];
    Put32(section_rva + static_cast<uint32_t>(at), entry);
    Put32(static_cast<uint32_t>(items[i].data.size()), entry + 4);
    out.resize(at, 0);
    out.insert(out.end(), items[i].data.begin(), items[i].data.end());
  }
  return out;
}

}  // namespace qxibundle
