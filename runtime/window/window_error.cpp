#include "runtime/window/window_error.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iterator>

namespace velmora::window {

namespace {

// Appends text to the end of a zero-terminated buffer, as much as fits.
void append(char* buffer, std::size_t size, const char* text) noexcept {
  const std::size_t used = std::strlen(buffer);
  const std::size_t room = size - used - 1;
  const std::size_t length = std::min(std::strlen(text), room);
  std::memcpy(buffer + used, text, length);
  buffer[used + length] = '\0';
}

// Windows' description of an error code, in English where Windows has it and in the user's
// language otherwise, without its line break: "Cannot find window class."
void describe(unsigned long code, char* buffer, std::size_t size) noexcept {
  constexpr DWORD flags =
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK;
  DWORD length = FormatMessageA(flags, nullptr, code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                buffer, static_cast<DWORD>(size), nullptr);
  if (length == 0) {
    length = FormatMessageA(flags, nullptr, code, 0, buffer, static_cast<DWORD>(size), nullptr);
  }
  while (length > 0 &&
         (buffer[length - 1] == ' ' || buffer[length - 1] == '\r' || buffer[length - 1] == '\n')) {
    --length;
  }
  buffer[length] = '\0';
}

} // namespace

WindowError::WindowError(const char* call, unsigned long code) noexcept
    : call_(call), code_(code), text_{} {
  append(text_, sizeof text_, call);
  append(text_, sizeof text_, " failed: error ");
  char number[16] = {};
  std::to_chars(number, number + sizeof number - 1, code);
  append(text_, sizeof text_, number);
  char description[160] = {};
  if (code != 0) {
    describe(code, description, sizeof description);
  }
  append(text_, sizeof text_, " (");
  append(text_, sizeof text_,
         code == 0 ? "Windows gave no error code"
                   : (description[0] ? description : "Windows has no description of it"));
  append(text_, sizeof text_, ")");
}

WindowError::WindowError(const char* function, const char* lookedFor,
                         std::u16string_view name) noexcept
    : call_(function), code_(0), text_{} {
  append(text_, sizeof text_, function);
  append(text_, sizeof text_, " found no ");
  append(text_, sizeof text_, lookedFor);
  append(text_, sizeof text_, " named ");
  char ascii[64] = {};
  for (std::size_t i = 0; i < name.size() && i + 1 < sizeof ascii; ++i) {
    ascii[i] = name[i] < 0x80 ? static_cast<char>(name[i]) : '?';
  }
  append(text_, sizeof text_, ascii);
}

void throwLastError(const char* call) {
  throw WindowError(call, GetLastError());
}

void traceForDebugger(const char* what) noexcept {
  constexpr wchar_t lead[] = L"Velmora passed over a failure in its window: ";
  constexpr std::size_t leadLength = std::size(lead) - 1;
  wchar_t line[512];
  std::copy_n(lead, leadLength, line);
  // A UTF-8 byte gives at most one UTF-16 unit, so a what cut to the room left always fits;
  // room is kept for the line's end.
  const std::size_t room = std::size(line) - leadLength - 2;
  const int bytes = static_cast<int>(std::min(std::strlen(what), room));
  const int units = bytes == 0 ? 0
                               : MultiByteToWideChar(CP_UTF8, 0, what, bytes, line + leadLength,
                                                     static_cast<int>(room));
  wchar_t* const end = line + leadLength + units;
  end[0] = L'\n';
  end[1] = L'\0';
  OutputDebugStringW(line);
}

} // namespace velmora::window
