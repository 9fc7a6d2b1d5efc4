// The handler std::terminate calls in QXI.dll: abort at once. The C++ runtime's default one
// prints the type of an uncaught exception, for which it links in its whole name demangler and
// the C runtime's printf (about a fifth of the DLL); a DLL with no console of its own has no
// use for either. Every export catches what the engine throws, so this runs only on a defect.
#include <cxxabi.h>

#include <cstdlib>

namespace __gnu_cxx {
// Defined here, the runtime's own definition (an object of its own) is never linked in.
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
