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

WindowError::WindowError(const char* call, unsigned long code) noexcept : code_(code), text_{} {
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
    : code_(0), text_{} {
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

std::size_t decodeFailureWords(const char* words, unsigned codePage, wchar_t* into,
                               std::size_t room) noexcept {
  // A character of one byte or two, as an ANSI code page has them, makes one unit (and a UTF-8
  // one no more units than bytes), so as many bytes as there are units of room always fit.
  // Where they end on the first byte of a pair, that byte is left out.
  const std::size_t bytes = std::min(std::strlen(words), room);
  std::size_t whole = 0;
  while (whole < bytes) {
    const std::size_t next =
        whole + (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(words[whole])) ? 2 : 1);
    if (next > bytes) {
      break;
    }
    whole = next;
  }
  return whole == 0
             ? 0
             : static_cast<std::size_t>(MultiByteToWideChar(
                   codePage, 0, words, static_cast<int>(whole), into, static_cast<int>(room)));
}

void traceForDebugger(const char* what) noexcept {
  constexpr wchar_t lead[] = L"Velmora passed over a failure in its window: ";
  constexpr std::size_t leadLength = std::size(lead) - 1;
  wchar_t line[512];
  std::copy_n(lead, leadLength, line);
  // Room is kept for the line's end.
  const std::size_t units =
      decodeFailureWords(what, CP_ACP, line + leadLength, std::size(line) - leadLength - 2);
  wchar_t* const end = line + leadLength + units;
  end[0] = L'\n';
  end[1] = L'\0';
  OutputDebugStringW(line);
}

} // namespace velmora::window
