// The C++ library's ways of failing, replaced by lean ones for Velmora.exe, which has no console
// and catches everything its handlers throw. They guard against a size and a link trap.
//
// The size. The library's default terminate handler prints the uncaught exception's type,
// demangled, and so brings a whole C++ demangler (some 50 KB) into the program; the one here just
// aborts. The library's throw helpers that take words (a string grown too long, an index out of
// range, an argument std::stoi cannot read) build a std::length_error, std::out_of_range and so
// on, whose message is a copy-on-write string of the old ABI: one such throw brings in that second
// string class, its exceptions and std::random_device (some 60 KB). The helpers here throw the
// library's own words as they are, which what() gives.
//
// The link trap. The library defines all its throw helpers in one object (functexcept.o in
// libstdc++.a). Were only some of them defined here, the first call to another would pull that
// object in, and the link would fail with multiple definitions. So every one is here, and
// tests/release/throw_helpers_test.cmake fails if the library has one this file lacks.
//
// What a helper with words throws is a LibraryFault, a std::exception and nothing more: a catch of
// std::invalid_argument or std::out_of_range (around std::stoi, say) does not see it, one of
// std::exception does.
//
// It must be linked as an object of the program, not from a library, so that its definitions are
// found before the library's own.
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

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

// The other helpers with words are __throw_logic_error under their own names, which costs the
// file nothing. The three below cost it some 700 bytes though nothing calls them: the linker
// keeps the unwinding tables whole, and so every function they describe.
#define VELMORA_SAME_AS_LOGIC_ERROR __attribute__((alias("_ZSt19__throw_logic_errorPKc")))
void __throw_domain_error(const char*) VELMORA_SAME_AS_LOGIC_ERROR;
void __throw_invalid_argument(const char*) VELMORA_SAME_AS_LOGIC_ERROR;
void __throw_out_of_range(const char*) VELMORA_SAME_AS_LOGIC_ERROR;
void __throw_overflow_error(const char*) VELMORA_SAME_AS_LOGIC_ERROR;
void __throw_range_error(const char*) VELMORA_SAME_AS_LOGIC_ERROR;
void __throw_runtime_error(const char*) VELMORA_SAME_AS_LOGIC_ERROR;
void __throw_underflow_error(const char*) VELMORA_SAME_AS_LOGIC_ERROR;

void __throw_bad_cast() {
  throw bad_cast();
}
void __throw_bad_exception() {
  throw bad_exception();
}
void __throw_bad_typeid() {
  throw bad_typeid();
}
} // namespace std
