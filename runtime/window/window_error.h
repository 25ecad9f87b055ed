#pragma once

// The window engine's one error: a Windows call that building or running a window needed
// failed, or the window was asked for a control its table lacks. For a failed call it carries
// GetLastError()'s code, and its text names the call and says the code with Windows' own
// description of it, for a test's failure and for the box shown when Velmora cannot start:
//   WindowError("CreateWindowExW", 1407).what() ==
//       "CreateWindowExW failed: error 1407 (Cannot find window class.)", in Windows' words
//   WindowError("CreateWindowExW", 0).what() ==
//       "CreateWindowExW failed: error 0 (Windows gave no error code)"
// For a missing control no Windows call failed, so there is no code (code() is 0), and the text
// names the function that looked, what it looked for and the name:
//   WindowError("FormWindow::requireControl", "control", u"Label7").what() ==
//       "FormWindow::requireControl found no control named Label7"
//
// Slight on purpose: the text lies in the error itself, so making it needs no memory from the
// heap when Windows is already failing. Its text is in the ANSI code page: the names are ASCII,
// and Windows' description comes from FormatMessageA, in the language of a Windows without
// English messages (code page 950 on a Traditional Chinese one); decodeFailureWords reads it.

#include <cstddef>
#include <exception>
#include <string_view>

namespace velmora::window {

class WindowError : public std::exception {
public:
  WindowError(const char* call, unsigned long code) noexcept;
  // The name is an ASCII one, as a row's is; any other unit shows as '?'.
  WindowError(const char* function, const char* lookedFor, std::u16string_view name) noexcept;
  const char* what() const noexcept override { return text_; }
  unsigned long code() const noexcept { return code_; }

private:
  unsigned long code_;
  char text_[256];
};

// Throws the WindowError of call with the calling thread's last error code.
[[noreturn]] void throwLastError(const char* call);

// The one decoder of a failure's words, for the failure box and the debugger's line alike: words
// in codePage (CP_ACP, Windows' own, for any exception's what()) into at most room UTF-16 units
// at into, never half a character, without a NUL. Gives the units written.
std::size_t decodeFailureWords(const char* words, unsigned codePage, wchar_t* into,
                               std::size_t room) noexcept;

// Leaves what went wrong for a debugger, where a window procedure has to pass over a failure
// (nothing thrown may cross into Windows): a line "Velmora passed over a failure in its window:
// <what>" through OutputDebugStringW. what is in the ANSI code page, as a WindowError's text is;
// no memory is taken from the heap.
void traceForDebugger(const char* what) noexcept;

} // namespace velmora::window
