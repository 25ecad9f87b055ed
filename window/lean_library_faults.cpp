// The C++ library's ways of failing, replaced by lean ones for Velmora.exe, which has no console
// and catches everything its handlers throw.
//
// The library's default terminate handler prints the uncaught exception's type, demangled, and
// so brings a whole C++ demangler (some 50 KB) into the program; the one here just aborts. The
// library's throw helpers for a string grown too long or an index out of range build a
// std::length_error or std::out_of_range, whose message is a copy-on-write string of the old
// ABI: one such throw brings in that second string class, its exceptions and std::random_device
// (some 60 KB). The helpers here throw the library's own words as they are, which what() gives.
//
// It must be linked as an object of the program, not from a library, so that its definitions are
// found before the library's own.
#include <cstdlib>
#include <exception>
#include <new>

namespace {

// A fault the C++ library reports in words of its own (always a string literal of the library's).
class LibraryFault final : public std::exception {
public:
  explicit LibraryFault(const char* words) noexcept : words_(words) {}
  const char* what() const noexcept override { return words_; }

private:
  const char* words_;
};

} // namespace

namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
} // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() {
  throw bad_alloc();
}
void __throw_bad_array_new_length() {
  throw bad_array_new_length();
}
void __throw_length_error(const char* words) {
  throw LibraryFault(words);
}
void __throw_logic_error(const char* words) {
  throw LibraryFault(words);
}
// The format's blanks are left unfilled: its words say what went wrong.
void __throw_out_of_range_fmt(const char* format, ...) {
  throw LibraryFault(format);
}
} // namespace std
