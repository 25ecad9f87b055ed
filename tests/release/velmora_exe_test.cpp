// The released Velmora.exe as Windows' loader reads it, read here without Wine: every function it
// imports exists in the oldest Windows it claims, XP, and its header says so. The per-monitor
// dpi functions of Windows 10 are looked up while it runs, so they are not imports.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Windows versions as a PE header writes them: major and minor, 0x0501 for XP.
enum Windows : std::uint16_t { windows2000 = 0x0500, windowsXp = 0x0501 };
constexpr Windows oldestWindows = windowsXp;

struct KnownImports {
  const char* dll;
  // The oldest Windows that Microsoft's documentation gives for each of the functions.
  Windows since;
  // Their names, one space between each.
  std::string_view functions;
};

// msvcrt.dll is part of Windows; Microsoft documents its C functions by header, not by Windows
// version. Those below, the start-up and C functions of MinGW-w64's runtime, are all exported by
// the msvcrt.dll that Windows XP ships.
const KnownImports knownImports[] = {
    {"GDI32.dll", windows2000,
     "BitBlt CreateCompatibleDC CreateFontIndirectW CreateSolidBrush DeleteDC DeleteObject "
     "EnumFontFamiliesExW GetDeviceCaps GetObjectW GetTextExtentPoint32W SelectObject SetBkColor "
     "SetBrushOrgEx SetStretchBltMode SetTextColor StretchBlt"},
    {"USER32.dll", windows2000,
     "AdjustWindowRectEx AppendMenuW CloseClipboard CreatePopupMenu CreateWindowExW "
     "DefWindowProcW DestroyMenu DestroyWindow DispatchMessageW DrawTextW EmptyClipboard "
     "FillRect GetClientRect GetDC GetFocus GetMessageW GetMonitorInfoW GetNextDlgTabItem "
     "GetParent GetSysColor GetSysColorBrush GetSystemMetrics GetWindowLongW GetWindowRect "
     "GetWindowTextLengthW GetWindowTextW IsChild IsDialogMessageW IsIconic IsWindow IsZoomed "
     "LoadCursorW LoadImageW MessageBeep MessageBoxW MonitorFromWindow NotifyWinEvent "
     "OpenClipboard PostQuitMessage RedrawWindow RegisterClassExW ReleaseDC SendMessageW "
     "SetClipboardData SetFocus SetWindowLongW SetWindowPos SetWindowTextW ShowWindow "
     "SystemParametersInfoW TrackPopupMenu TranslateMessage UpdateWindow"},
    {"ole32.dll", windows2000, "CoCreateInstance CoInitializeEx CoUninitialize"},
    {"KERNEL32.dll", windows2000,
     "CloseHandle IsDBCSLeadByteEx MulDiv MultiByteToWideChar WideCharToMultiByte"},
    {"KERNEL32.dll", windowsXp,
     "CreateSemaphoreW DeleteCriticalSection EnterCriticalSection FormatMessageA FreeLibrary "
     "GetCurrentThreadId GetLastError GetModuleHandleA GetModuleHandleW GetProcAddress "
     "GetStartupInfoW GlobalAlloc GlobalFree GlobalLock GlobalUnlock InitializeCriticalSection "
     "LeaveCriticalSection LoadLibraryA "
     "LoadLibraryW ReleaseSemaphore SetLastError SetUnhandledExceptionFilter Sleep TlsAlloc "
     "TlsFree TlsGetValue TlsSetValue VirtualProtect VirtualQuery WaitForSingleObject"},
    // Its page now gives Vista, the floor Microsoft's pages give everything older, and asks for
    // comctl32 4.70 or later, which XP ships (5.82, and 6.0 for a manifest like ours).
    {"COMCTL32.DLL", windowsXp, "InitCommonControlsEx"},
    {"msvcrt.dll", windowsXp,
     "__mb_cur_max __p__commode __p__fmode __p__wcmdln __set_app_type __setusermatherr "
     "__wgetmainargs __winitenv _amsg_exit _assert _cexit _close _errno _fpreset _initterm "
     "_iob _onexit _read abort atoi calloc exit fprintf fputc free fwrite localeconv malloc "
     "memchr memcmp memcpy memmove memset realloc setlocale signal strchr strcmp strerror "
     "strlen strncmp vfprintf wcslen"},
};

std::optional<Windows> firstWindowsWith(const std::string& dll, const std::string& function) {
  for (const auto& known : knownImports) {
    const std::string names = ' ' + std::string(known.functions) + ' ';
    if (dll == known.dll && names.find(' ' + function + ' ') != std::string::npos)
      return known.since;
  }
  return std::nullopt;
}

// A 32-bit PE file, read as far as its header and import table.
class PeFile {
public:
  explicit PeFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(file), {});
    coff_ = u32(0x3c) + 4;
    optional_ = coff_ + 20;
  }

  std::uint16_t machine() const { return u16(coff_); }
  std::uint32_t timeStamp() const { return u32(coff_ + 4); }
  std::uint16_t osVersion() const { return version(optional_ + 40); }
  std::uint16_t subsystemVersion() const { return version(optional_ + 48); }

  // Every (DLL, function) the loader binds, in the file's order.
  std::vector<std::pair<std::string, std::string>> imports() const {
    std::vector<std::pair<std::string, std::string>> found;
    for (std::size_t entry = at(u32(optional_ + 104)); u32(entry + 12) != 0; entry += 20) {
      const std::string dll = text(at(u32(entry + 12)));
      const std::uint32_t names = u32(entry) != 0 ? u32(entry) : u32(entry + 16);
      for (std::size_t thunk = at(names); u32(thunk) != 0; thunk += 4) {
        const std::uint32_t name = u32(thunk);
        found.emplace_back(dll, name & 0x80000000u ? "#" + std::to_string(name & 0xffff)
                                                   : text(at(name) + 2));
      }
    }
    return found;
  }

private:
  std::uint32_t byte(std::size_t offset) const { return bytes_.at(offset); }
  std::uint16_t u16(std::size_t offset) const {
    return static_cast<std::uint16_t>(byte(offset) | byte(offset + 1) << 8);
  }
  std::uint32_t u32(std::size_t offset) const { return u16(offset) | u16(offset + 2) << 16; }
  std::uint16_t version(std::size_t offset) const {
    return static_cast<std::uint16_t>(u16(offset) << 8 | u16(offset + 2));
  }
  std::string text(std::size_t offset) const {
    std::string read;
    while (const char c = static_cast<char>(byte(offset++)))
      read.push_back(c);
    return read;
  }
  // Where an address of the loaded image lies in the file, through the section table.
  std::size_t at(std::uint32_t address) const {
    const std::size_t sections = optional_ + u16(coff_ + 16);
    for (std::size_t section = 0; section < u16(coff_ + 2); ++section) {
      const std::size_t header = sections + 40 * section;
      const std::uint32_t start = u32(header + 12);
      if (address >= start && address - start < u32(header + 16))
        return u32(header + 20) + (address - start);
    }
    throw std::out_of_range("no section holds address " + std::to_string(address));
  }

  std::vector<unsigned char> bytes_;
  std::size_t coff_ = 0;
  std::size_t optional_ = 0;
};

TEST(VelmoraExe, ImportsOnlyFunctionsOfTheOldestWindowsItClaims) {
  const auto imports = PeFile(VELMORA_EXE).imports();
  ASSERT_FALSE(imports.empty());
  for (const auto& [dll, function] : imports) {
    SCOPED_TRACE(dll + ": " + function);
    const auto since = firstWindowsWith(dll, function);
    ASSERT_TRUE(since) << "a new import: add it to knownImports with the oldest Windows that "
                          "Microsoft's documentation gives for it";
    EXPECT_LE(*since, oldestWindows);
  }
}

// What Velmora cannot do without on some Windows, though everything would still build and the
// tests under Wine pass without it.
TEST(VelmoraExe, ImportsWhatItNeedsOnEveryWindows) {
  const struct {
    const char* dll;
    const char* function;
    const char* why;
  } needed[] = {
      {"COMCTL32.DLL", "InitCommonControlsEx",
       "Windows XP makes no control of a class the manifest's common controls take over until "
       "the program asks for it"},
      {"msvcrt.dll", "_fpreset",
       "the C runtime's reset of the x87 unit to 53 bits, made again before each conversion"},
  };
  const auto imports = PeFile(VELMORA_EXE).imports();
  for (const auto& import : needed) {
    const std::pair<std::string, std::string> wanted(import.dll, import.function);
    EXPECT_TRUE(std::find(imports.begin(), imports.end(), wanted) != imports.end())
        << import.dll << ": " << import.function << ", for " << import.why;
  }
}

TEST(VelmoraExe, HeaderNamesWindowsXpAndNoTime) {
  const PeFile exe(VELMORA_EXE);
  EXPECT_EQ(exe.machine(), 0x014c); // i386
  EXPECT_EQ(exe.osVersion(), oldestWindows);
  EXPECT_EQ(exe.subsystemVersion(), oldestWindows);
  EXPECT_EQ(exe.timeStamp(), 0u);
}

} // namespace
