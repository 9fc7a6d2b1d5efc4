// The command catalog of the table-variant build of the differential test: the product's
// rows, except that NOP is named Pause and DelFile takes a number ("Retries") after its file
// name. Its object takes the place of the engine library's own catalog in the variant QXI.dll
// and in the variant harness, so that both read the one changed table.
#define CommandsOfGroup ProductCommandsOfGroup
#include "dll/command_catalog.cpp"
#undef CommandsOfGroup

#include <cstdio>
#include <cstdlib>

namespace qxi {
namespace {

// `row` as the variant has it; the product's row when the variant leaves it alone.
const CommandRow* VariantRow(const CommandRow* row) {
  static const CommandRow pause = [] {
    for (const CommandRow& product : engine_commands::kRows) {
      if (!NamesEqual(product.name, "NOP")) continue;
      CommandRow changed = product;
      changed.name = "Pause";
      return changed;
    }
    std::fprintf(stderr, "variant catalog: the product has no NOP\n");
    std::abort();
  }();
  static const CommandRow del_file = [] {
    for (const CommandRow& product : file_commands::kRows) {
      if (!NamesEqual(product.name, "DelFile")) continue;
      CommandRow changed = product;
      changed.params[1] = IntegerAt{1}("Retries");
      return changed;
    }
    std::fprintf(stderr, "variant catalog: the product has no DelFile\n");
    std::abort();
  }();
  if (NamesEqual(row->group, "Misc") && NamesEqual(row->name, "NOP")) return &pause;
  if (NamesEqual(row->group, "FileOps") && NamesEqual(row->name, "DelFile")) return &del_file;
  return row;
}

}  // namespace

std::vector<const CommandRow*> CommandsOfGroup(std::string_view group) {
  std::vector<const CommandRow*> rows = ProductCommandsOfGroup(group);
  for (const CommandRow*& row : rows) row = VariantRow(row);
  return rows;
}

}  // namespace qxi
