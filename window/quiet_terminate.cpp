// The C++ library's default terminate handler prints the uncaught exception's type, demangled,
// and so brings a whole C++ demangler (some 50 KB) into the program. A window program has no
// console to print to, and nothing thrown escapes Velmora's handlers (the click wiring and the
// entry point catch everything), so this one, which stands in for the library's, just aborts.
//
// It must be linked as an object of the program, not from a library, so that it is found
// before the library's own.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
} // namespace __gnu_cxx
