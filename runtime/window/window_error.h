#pragma once

// The window engine's one error: a Windows call that building or running a window needed
// failed. It carries the call's name and GetLastError()'s code, and its text says both with
// Windows' own description of the code, for a test's failure and for the box shown when
// Velmora cannot start:
//   WindowError("CreateWindowExW", 1407).what() ==
//       "CreateWindowExW failed: error 1407 (Cannot find window class.)", in Windows' words
//   WindowError("CreateWindowExW", 0).what() ==
//       "CreateWindowExW failed: error 0 (Windows gave no error code)"
// and, where the call was asked for something by name, that name:
//   WindowError("FormWindow::control", u"Label7", 1168).what() ==
//       "FormWindow::control failed for Label7: error 1168 (Element not found.)"
//
// Slight on purpose: the text lies in the error itself, so making it needs no memory from the
// heap when Windows is already failing.

#include <exception>
#include <string_view>

namespace velmora::window {

class WindowError : public std::exception {
public:
  WindowError(const char* call, unsigned long code) noexcept;
  // The name is an ASCII one, as a row's is; any other unit shows as '?'.
  WindowError(const char* call, std::u16string_view name, unsigned long code) noexcept;
  const char* what() const noexcept override { return text_; }
  const char* call() const noexcept { return call_; }
  unsigned long code() const noexcept { return code_; }

private:
  const char* call_;
  unsigned long code_;
  char text_[256];
};

// Throws the WindowError of call with the calling thread's last error code.
[[noreturn]] void throwLastError(const char* call);

} // namespace velmora::window
