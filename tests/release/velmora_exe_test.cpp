// The released Velmora.exe as Windows' loader reads it, read here without Wine: every function it
// imports exists in the oldest Windows it claims, XP, and its header says so; its manifest is one
// XP's loader takes; and neither its entry, before it has checked that the processor has SSE2,
// nor the TLS callbacks Windows runs before the entry, use an instruction a Pentium lacks. The
// per-monitor dpi functions of Windows 10 are looked up while it runs, so they are not imports.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <regex>
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
     "OpenClipboard PeekMessageW PostQuitMessage RedrawWindow RegisterClassExW ReleaseDC "
     "SendMessageW SetClipboardData SetFocus SetWindowLongW SetWindowPos SetWindowTextW "
     "ShowWindow SystemParametersInfoW TrackPopupMenu TranslateMessage UpdateWindow"},
    {"ole32.dll", windows2000, "CoCreateInstance CoInitializeEx CoUninitialize"},
    {"KERNEL32.dll", windows2000,
     "CloseHandle ExitProcess IsDBCSLeadByteEx MulDiv MultiByteToWideChar WideCharToMultiByte"},
    {"KERNEL32.dll", windowsXp,
     "CreateSemaphoreW DeleteCriticalSection EnterCriticalSection FormatMessageA FreeLibrary "
     "GetCurrentThreadId GetLastError GetModuleHandleA GetModuleHandleW GetProcAddress "
     "GetStartupInfoW GlobalAlloc GlobalFree GlobalLock GlobalUnlock InitializeCriticalSection "
     "LeaveCriticalSection LoadLibraryA "
     "LoadLibraryW OutputDebugStringW ReleaseSemaphore SetLastError SetUnhandledExceptionFilter "
     "Sleep TlsAlloc "
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
    if (dll == known.dll && names.find(' ' + function + ' ') != std::string::npos) {
      return known.since;
    }
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

  std::uint32_t imageBase() const { return u32(optional_ + 28); }
  std::uint32_t entryPoint() const { return imageBase() + u32(optional_ + 16); }
  std::uint16_t machine() const { return u16(coff_); }
  std::uint32_t timeStamp() const { return u32(coff_ + 4); }
  std::uint16_t osVersion() const { return version(optional_ + 40); }
  std::uint16_t subsystemVersion() const { return version(optional_ + 48); }

  // The TLS callbacks Windows runs before the entry, as the TLS directory lists them.
  std::vector<std::uint32_t> tlsCallbacks() const {
    constexpr std::size_t tlsDirectory = 96 + 9 * 8;
    std::vector<std::uint32_t> callbacks;
    if (const std::uint32_t directory = u32(optional_ + tlsDirectory)) {
      for (std::size_t entry = at(u32(at(directory) + 12) - imageBase()); u32(entry) != 0;
           entry += 4) {
        callbacks.push_back(u32(entry));
      }
    }
    return callbacks;
  }

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

  // The bytes of a resource given by number: its type, its id, its first language.
  std::string resource(std::uint32_t type, std::uint32_t id) const {
    const std::size_t root = at(u32(optional_ + 112));
    const auto find = [&](std::size_t directory, std::uint32_t wanted) -> std::uint32_t {
      const std::size_t entries = u16(directory + 12) + u16(directory + 14);
      for (std::size_t entry = directory + 16; entry < directory + 16 + 8 * entries; entry += 8) {
        if (wanted == ~0u || u32(entry) == wanted) {
          return u32(entry + 4) & 0x7fffffffu;
        }
      }
      throw std::out_of_range("no resource " + std::to_string(type) + "/" + std::to_string(id));
    };
    const std::size_t language = root + find(root + find(root + find(root, type), id), ~0u);
    const std::size_t data = at(u32(language));
    return std::string(bytes_.begin() + static_cast<std::ptrdiff_t>(data),
                       bytes_.begin() + static_cast<std::ptrdiff_t>(data + u32(language + 4)));
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
    while (const char c = static_cast<char>(byte(offset++))) {
      read.push_back(c);
    }
    return read;
  }
  // Where an address of the loaded image lies in the file, through the section table.
  std::size_t at(std::uint32_t address) const {
    const std::size_t sections = optional_ + u16(coff_ + 16);
    for (std::size_t section = 0; section < u16(coff_ + 2); ++section) {
      const std::size_t header = sections + 40 * section;
      const std::uint32_t start = u32(header + 12);
      if (address >= start && address - start < u32(header + 16)) {
        return u32(header + 20) + (address - start);
      }
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

// The manifest as Windows reads it out of the file.
std::string manifest() {
  constexpr std::uint32_t rtManifest = 24, programManifest = 1;
  return PeFile(VELMORA_EXE).resource(rtManifest, programManifest);
}

TEST(VelmoraExe, ManifestStartsWithTheProgramsOwnIdentity) {
  const std::string text = manifest();
  // Comments may stand before it; no other element may.
  const std::regex firstChild(R"(<assembly [^>]*>\s*(<!--(?:[^-]|-[^-])*-->\s*)*<assemblyIdentity )"
                              R"(type="win32" name="Velmora\.Velmora" version="1\.0\.0\.0"\s+)"
                              R"(processorArchitecture="x86"/>)");
  EXPECT_TRUE(std::regex_search(text, firstChild)) << text;
}

TEST(VelmoraExe, ManifestAsksForTheCommonControlsAndTheDpiAwarenessEachWindowsKnows) {
  const std::string text = manifest();
  const struct {
    const char* why;
    const char* needed;
  } settings[] = {
      {"themed controls, and the tooltip class Velmora asks for",
       R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"},
      {"the common controls' own key", R"(publicKeyToken="6595b64144ccf1df")"},
      {"no elevation prompt", R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)"},
      {"the system's dpi before Windows 10 1607",
       R"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true</dpiAware>)"},
      {"per monitor from 1607, version 2 from 1703",
       R"(WindowsSettings">PerMonitorV2, PerMonitor</dpiAwareness>)"},
  };
  for (const auto& setting : settings) {
    EXPECT_NE(text.find(setting.needed), std::string::npos)
        << setting.why << ": " << setting.needed;
  }
}

// Where the linker put each object's code and each symbol, from its map of Velmora.exe.
struct MapPlace {
  std::uint32_t start = 0, size = 0;
};

std::string readMap() {
  std::ifstream file(VELMORA_MAP);
  return {std::istreambuf_iterator<char>(file), {}};
}

// The hexadecimal numbers a pattern's groups capture in the map; none where it does not match.
std::vector<std::uint32_t> numbersIn(const std::string& map, const char* pattern) {
  std::smatch found;
  std::vector<std::uint32_t> numbers;
  if (std::regex_search(map, found, std::regex(pattern))) {
    for (std::size_t group = 1; group < found.size(); ++group) {
      numbers.push_back(static_cast<std::uint32_t>(std::stoul(found[group], nullptr, 16)));
    }
  }
  return numbers;
}

// objdump's disassembly of addresses [start, start + size), one instruction a line.
std::vector<std::string> disassemble(MapPlace code) {
  char range[80];
  std::snprintf(range, sizeof range, "--start-address=0x%x --stop-address=0x%x", code.start,
                code.start + code.size);
  const std::string command =
      std::string(VELMORA_OBJDUMP) + " -d --no-show-raw-insn " + range + " " + VELMORA_EXE;
  const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  const std::regex instruction(R"(^\s+[0-9a-f]+:\t)");
  std::vector<std::string> lines;
  std::array<char, 512> line{};
  while (pipe && std::fgets(line.data(), line.size(), pipe.get())) {
    if (std::regex_search(line.data(), instruction)) {
      lines.emplace_back(line.data());
    }
  }
  return lines;
}

// Fails the test for every instruction a Pentium or a K6 that runs XP lacks. SSE and MMX name
// their registers; the fences and non-temporal stores came with SSE2; the conditional moves,
// the compares into flags and the long NOPs came with the Pentium Pro.
void expectOnlyPentiumInstructions(const std::vector<std::string>& instructions) {
  const std::regex newer(R"(%x?mm[0-9]|\t(lfence|mfence|sfence|movnti|clflush|prefetch\w*|emms|)"
                         R"(f?cmov\w*|fu?comip?)\b|\bnop[wl]\b)");
  for (const std::string& instruction : instructions) {
    EXPECT_FALSE(std::regex_search(instruction, newer)) << instruction;
  }
}

TEST(VelmoraExe, EntryChecksForSse2BeforeAnyInstructionAPentiumLacks) {
  const std::string map = readMap();
  ASSERT_FALSE(map.empty()) << VELMORA_MAP;
  const auto code = numbersIn(map, R"( \.text\s+0x([0-9a-f]+)\s+0x([0-9a-f]+) \S*processor_check)");
  const auto entry = numbersIn(map, R"(\n\s+0x([0-9a-f]+)\s+velmoraStart\n)");
  ASSERT_EQ(code.size(), 2u) << "processor_check's code is not in the map";
  ASSERT_EQ(entry.size(), 1u) << "velmoraStart is not in the map";
  const MapPlace check{code[0], code[1]};
  EXPECT_EQ(PeFile(VELMORA_EXE).entryPoint(), entry[0]) << "the entry is not velmoraStart";
  ASSERT_GE(entry[0], check.start);
  ASSERT_LT(entry[0], check.start + check.size);

  const std::vector<std::string> instructions = disassemble(check);
  ASSERT_FALSE(instructions.empty()) << "objdump disassembled nothing";
  expectOnlyPentiumInstructions(instructions);
  EXPECT_TRUE(std::any_of(instructions.begin(), instructions.end(), [](const std::string& line) {
    return line.find("\tcpuid") != std::string::npos;
  }));
}

// Each object's code, by the map: where it lies and which object it is.
struct MappedCode {
  MapPlace place;
  std::string object;
};

std::vector<MappedCode> codeOfEachObject(const std::string& map) {
  // A section with a long name gives its address on the next line.
  const std::regex code(R"(\n \.text(?:\$\S*)?\s+0x([0-9a-f]+)\s+0x([0-9a-f]+) (\S+))");
  std::vector<MappedCode> objects;
  for (std::sregex_iterator it(map.begin(), map.end(), code), end; it != end; ++it) {
    const MapPlace place{static_cast<std::uint32_t>(std::stoul((*it)[1], nullptr, 16)),
                         static_cast<std::uint32_t>(std::stoul((*it)[2], nullptr, 16))};
    if (place.start != 0 && place.size != 0) {
      objects.push_back({place, (*it)[3]});
    }
  }
  return objects;
}

// The object file alone, without the library's folders.
std::string fileOf(const MappedCode& code) {
  return code.object.substr(code.object.rfind('/') + 1);
}

// The symbol the map gives at an address in code, or, for a static function, where it lies in
// its object.
std::string nameOf(const std::string& map, std::uint32_t address, const MappedCode& code) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08x", address);
  std::smatch symbol;
  if (std::regex_search(map, symbol, std::regex(std::string(R"(\n\s+)") + hex + R"(\s+(\S+)\n)"))) {
    return symbol[1].str() + " in " + fileOf(code);
  }
  std::snprintf(hex, sizeof hex, "+0x%x", address - code.place.start);
  return fileOf(code) + hex;
}

// Windows runs the TLS callbacks before the entry (on XP, before the processor check), so they,
// the C runtime's, and all they call directly must do without the Pentium Pro's instructions
// too. Each callback's object is disassembled, and each object its code calls or jumps to.
TEST(VelmoraExe, TlsCallbacksUseNoInstructionAPentiumLacks) {
  const std::string map = readMap();
  ASSERT_FALSE(map.empty()) << VELMORA_MAP;
  const std::vector<MappedCode> objects = codeOfEachObject(map);
  const auto objectOf = [&](std::uint32_t address) {
    return std::find_if(objects.begin(), objects.end(), [&](const MappedCode& code) {
      return address >= code.place.start && address - code.place.start < code.place.size;
    });
  };
  const std::vector<std::uint32_t> callbacks = PeFile(VELMORA_EXE).tlsCallbacks();
  ASSERT_FALSE(callbacks.empty()) << "no TLS callback: the C runtime's are not in the file";
  std::vector<std::vector<MappedCode>::const_iterator> toCheck, checked;
  std::string found;
  for (const std::uint32_t callback : callbacks) {
    const auto object = objectOf(callback);
    ASSERT_NE(object, objects.end()) << "the map has no code at the callback " << callback;
    found += (found.empty() ? "" : ", ") + nameOf(map, callback, *object);
    toCheck.push_back(object);
  }
  const std::regex direct(R"(\t(?:call|j\w+)\s+0x([0-9a-f]+))");
  while (!toCheck.empty()) {
    const auto object = toCheck.back();
    toCheck.pop_back();
    if (std::find(checked.begin(), checked.end(), object) != checked.end()) {
      continue;
    }
    checked.push_back(object);
    SCOPED_TRACE(object->object);
    const std::vector<std::string> instructions = disassemble(object->place);
    ASSERT_FALSE(instructions.empty()) << "objdump disassembled nothing";
    expectOnlyPentiumInstructions(instructions);
    for (const std::string& instruction : instructions) {
      std::smatch target;
      if (std::regex_search(instruction, target, direct)) {
        const auto callee =
            objectOf(static_cast<std::uint32_t>(std::stoul(target[1], nullptr, 16)));
        ASSERT_NE(callee, objects.end()) << "the map has no code at " << instruction;
        toCheck.push_back(callee);
      }
    }
  }
  std::string reached;
  for (const auto object : checked) {
    reached += " " + fileOf(*object);
  }
  std::printf("TLS callbacks: %s; checked with the code they call:%s\n", found.c_str(),
              reached.c_str());
}

// Windows runs a program's TLS callbacks before its entry, and the C runtime's own run the
// dynamic initialisers of thread-local variables: none of Velmora's SSE2 code may be among them.
TEST(VelmoraExe, NothingOfVelmorasOwnRunsBeforeTheEntry) {
  const std::string map = readMap();
  ASSERT_FALSE(map.empty()) << VELMORA_MAP;
  const std::regex early(R"(\.CRT\$X[LD]\w*\s+0x[0-9a-f]+\s+0x[1-9a-f][0-9a-f]* (\S+))");
  int seen = 0;
  for (std::sregex_iterator it(map.begin(), map.end(), early), end; it != end; ++it, ++seen) {
    const std::string object = (*it)[1];
    EXPECT_NE(object.find("libmingw32.a"), std::string::npos) << object;
  }
  EXPECT_GT(seen, 0) << "the C runtime's own TLS entries are not in the map";
}

} // namespace
