#include "files/file_tests.h"

#include "engine/mapped_file.h"
#include "files/file.h"
#include "files/line_match.h"
#include "files/path_utils.h"

namespace qxi {
namespace {

// Positions in a file test's line: condition name, file, then Size or Line.
constexpr size_t kFile = 1;
constexpr size_t kSize = 2;
constexpr size_t kLine = 2;

}  // namespace

bool FileExistsTest(const ParamList& params) { return PathExists(params.Text(kFile)); }

bool FileSizeTest(const ParamList& params) {
  const std::string& name = params.Text(kFile);
  if (!PathExists(name)) return false;
  File file(name.c_str(), OPEN_EXISTING, GENERIC_READ);
  return file.Size() == static_cast<uint32_t>(params.Integer(kSize));
}

bool FileLineTest(const ParamList& params) {
  MappedFile text(params.Text(kFile).c_str());
  return AnyLineBeginsWith(text.begin(), text.end(), params.Text(kLine));
}

}  // namespace qxi
