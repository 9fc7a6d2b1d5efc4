// Raising the failure of the Win32 call just made, with GetLastError() read in the very
// statement that raises.
#pragma once

#include <windows.h>

#include <type_traits>

#include "engine/qx_err.h"

namespace qxi {

/// Raises `Error` carrying GetLastError(): by default QXErr kRunTimeError, the failure of a
/// command's system call; a wrapper's exception (File::Except) is built from the code alone.
template <typename Error = QXErr>
[[noreturn]] void ThrowLastError() {
  if constexpr (std::is_same_v<Error, QXErr>) throw QXErr(kRunTimeError, GetLastError());
  else throw Error(GetLastError());
}

}  // namespace qxi
