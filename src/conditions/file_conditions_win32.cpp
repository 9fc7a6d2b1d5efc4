// The three file tests of the Conditions section.
#include "conditions/condition_commands.h"

#include "conditions/line_match.h"
#include "engine/mapped_file.h"
#include "files/file.h"
#include "files/path_utils.h"

namespace qxi {
namespace condition_commands {

bool FileExistsTest(const ParamList& params) { return PathExists(params[kFile]); }

bool FileSizeTest(const ParamList& params) {
  const std::string& name = params[kFile];
  if (!PathExists(name)) return false;
  File file(name.c_str(), OPEN_EXISTING, GENERIC_READ);
  return file.Size() == static_cast<uint32_t>(params[kSize]);
}

bool FileLineTest(const ParamList& params) {
  MappedFile text(params[kFile].c_str());
  return AnyLineBeginsWith(text.begin(), text.end(), params[kLine]);
}

}  // namespace condition_commands
}  // namespace qxi
