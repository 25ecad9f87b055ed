// The window engine's error: what it says of a failed call or a missing control, what it
// leaves a debugger, and the one decoder of a failure's words.
#include "runtime/window/window_error.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <ntstatus.h>

#include <string>

namespace velmora::window {
namespace {

// A window that cannot be made says which call failed, and Windows' code and words for it (whose
// wording Windows and Wine differ on: only their presence is checked); a control the window lacks
// is named with what looked for it, and no code, as no Windows call failed.
TEST(WindowError, NamesTheCallAndWhatWindowsCallsItOrTheControlNotFound) {
  const struct {
    const char* call;
    const char* lookedFor; // for a control not found
    std::u16string_view name;
    unsigned long code;
    std::string start, end;
  } errors[] = {
      {"CreateWindowExW", nullptr, u"", ERROR_CANNOT_FIND_WND_CLASS,
       "CreateWindowExW failed: error 1407 (", ".)"},
      {"RegisterClassExW", nullptr, u"", ERROR_NOT_ENOUGH_MEMORY,
       "RegisterClassExW failed: error 8 (", ".)"},
      {"CreateWindowExW", nullptr, u"", 0,
       "CreateWindowExW failed: error 0 (Windows gave no error code)", ""},
      {"LoadImageW", nullptr, u"", 0xE0001234,
       "LoadImageW failed: error 3758101044 (Windows has no description of it)", ""},
      {"FormWindow::requireControl", "control", u"Label7", 0,
       "FormWindow::requireControl found no control named Label7", ""},
      {"FormWindow::onClick", "button", u"按鈕1", 0,
       "FormWindow::onClick found no button named ??1", ""},
  };
  for (const auto& error : errors) {
    SetLastError(error.code);
    try {
      if (!error.lookedFor) {
        throwLastError(error.call);
      }
      SetLastError(ERROR_NOT_FOUND); // a stale code must not be taken for the lookup's
      throw WindowError(error.call, error.lookedFor, error.name);
    } catch (const WindowError& thrown) {
      const std::string text = thrown.what();
      EXPECT_EQ(thrown.code(), error.code);
      EXPECT_EQ(text.substr(0, error.start.size()), error.start);
      EXPECT_TRUE(text.ends_with(error.end)) << text;
      EXPECT_GE(text.size(), error.start.size() + (error.end.empty() ? 0 : 10)) << text;
      EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
    }
  }
}

// What OutputDebugStringW last said, as a debugger hears it: as an exception, which a vectored
// handler sees first.
std::wstring heard;
LONG CALLBACK listenAsADebugger(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  if (record.ExceptionCode == DBG_PRINTEXCEPTION_WIDE_C) {
    heard = reinterpret_cast<const wchar_t*>(record.ExceptionInformation[1]);
  } else if (record.ExceptionCode == DBG_PRINTEXCEPTION_C) {
    const std::string ascii = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
    heard.assign(ascii.begin(), ascii.end());
  } else {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  return EXCEPTION_CONTINUE_EXECUTION;
}

// What a window procedure passes over reaches a debugger as one line, cut where it is too long.
TEST(WindowError, APassedOverFailureLeavesOneLineForADebugger) {
  const std::wstring lead = L"Velmora passed over a failure in its window: ";
  const std::string tooLong(600, 'x');
  const struct {
    const char* what;
    std::wstring line;
  } traces[] = {
      {"CreateFontIndirectW failed: error 8 (Not enough memory.)",
       lead + L"CreateFontIndirectW failed: error 8 (Not enough memory.)\n"},
      {"", lead + L"\n"},
      {tooLong.c_str(), lead + std::wstring(511 - lead.size() - 1, L'x') + L"\n"},
  };
  void* const listener = AddVectoredExceptionHandler(1, listenAsADebugger);
  ASSERT_NE(listener, nullptr);
  for (const auto& trace : traces) {
    heard.clear();
    traceForDebugger(trace.what);
    EXPECT_EQ(heard, trace.line) << trace.what;
  }
  RemoveVectoredExceptionHandler(listener);
}

// A failure's words are decoded in the code page they were written in: a Traditional Chinese
// Windows describes an error in code page 950, whose characters are two bytes, and a text cut
// to the room left keeps only whole characters.
TEST(FailureWords, AreDecodedInTheirCodePageAndCutOnlyBetweenCharacters) {
  // "找不到視窗類別。", as a Traditional Chinese Windows gives error 1407 to FormatMessageA.
  const std::string big5 = "(\xa7\xe4\xa4\xa3\xa8\xec\xb5\xf8\xb5\xa1\xc3\xfe\xa7\x4f\xa1\x43)";
  const struct {
    std::string words;
    unsigned codePage;
    std::size_t room;
    std::wstring decoded;
  } cases[] = {
      {"error 1407 " + big5, 950, 100, L"error 1407 (找不到視窗類別。)"},
      {big5, 950, 6, L"(找不"}, // "(", two characters and the first byte of 到
      {big5, 950, 5, L"(找不"}, // exactly "(" and two characters
      {"", 950, 10, L""},
  };
  for (const auto& words : cases) {
    std::wstring decoded(words.room, L'#');
    decoded.resize(
        decodeFailureWords(words.words.c_str(), words.codePage, decoded.data(), words.room));
    EXPECT_EQ(decoded, words.decoded) << words.words << " in " << words.codePage;
  }
}

} // namespace
} // namespace velmora::window
