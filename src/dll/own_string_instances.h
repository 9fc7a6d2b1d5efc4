// Included before every other header of the engine's Windows build (-include): the standard
// library's templates that its runtime instantiates explicitly (std::string foremost) are
// instantiated in the engine itself, member by member as it uses them, instead of linked
// whole from the runtime (33 KB for std::string alone), so that the DLL holds only what it
// calls.
#pragma once

#include <bits/c++config.h>

#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE 0
