#include "conditions/file_conditions.h"

#include "conditions/line_match.h"
#include "engine/mapped_file.h"
#include "files/file.h"
#include "files/path_utils.h"

namespace qxi {

bool FileExistsTest(const ParamList& params) {
  return PathExists(params[file_test_line::kFile]);
}

bool FileSizeTest(const ParamList& params) {
  const std::string& name = params[file_test_line::kFile];
  if (!PathExists(name)) return false;
  File file(name.c_str(), OPEN_EXISTING, GENERIC_READ);
  return file.Size() == static_cast<uint32_t>(params[file_test_line::kSize]);
}

bool FileLineTest(const ParamList& params) {
  MappedFile text(params[file_test_line::kFile].c_str());
  return AnyLineBeginsWith(text.begin(), text.end(), params[file_test_line::kLine]);
}

}  // namespace qxi
