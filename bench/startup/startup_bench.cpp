// How long Velmora takes from process start until its window is ready for input, against a
// bare Win32 window built by the same toolchain and started the same way. The two programs
// take turns, so a machine that slows down or speeds up during the run weighs on both alike.
//
//   startup_bench [ROUNDS]
//
// It finds both programs where the build puts them: bare_window.exe beside it, Velmora.exe in
// the folder above.
//
// Ready for input means WaitForInputIdle returned: the program's message loop waits for input
// with nothing left in its queue. Each program is then asked to close and awaited.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK matchVisible(HWND window, LPARAM lParam) noexcept {
  auto& search = *reinterpret_cast<Search*>(lParam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search.process && IsWindowVisible(window)) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

HWND visibleWindowOf(DWORD process) {
  Search search{process, nullptr};
  EnumWindows(matchVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Milliseconds from CreateProcess until the program waits for input with its window shown,
// or a negative number when it failed to get there.
double startOnce(const std::wstring& program) {
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const auto started = std::chrono::steady_clock::now();
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return -1;
  double elapsed = -1;
  if (WaitForInputIdle(process.hProcess, 30000) == 0) {
    HWND window = visibleWindowOf(process.dwProcessId);
    for (int i = 0; !window && i < 3000; ++i) {
      Sleep(1);
      window = visibleWindowOf(process.dwProcessId);
    }
    if (window) {
      elapsed =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
              .count();
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
  }
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

// The folder this program was started from, with a trailing backslash.
std::wstring ownFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

double median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  const std::size_t middle = times.size() / 2;
  return times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 20;
  const std::wstring folder = ownFolder();
  const std::wstring velmora = folder + L"..\\Velmora.exe", bare = folder + L"bare_window.exe";
  // One start of each first, unmeasured: the first start of any program loads the system's
  // DLLs from disk.
  startOnce(velmora);
  startOnce(bare);
  std::vector<double> velmoraTimes, bareTimes;
  for (int round = 0; round < rounds; ++round) {
    const double first = startOnce(round % 2 ? bare : velmora);
    const double second = startOnce(round % 2 ? velmora : bare);
    const double velmoraTime = round % 2 ? second : first, bareTime = round % 2 ? first : second;
    if (velmoraTime < 0 || bareTime < 0) {
      std::fprintf(stderr, "startup_bench: a program did not become ready for input\n");
      return 1;
    }
    velmoraTimes.push_back(velmoraTime);
    bareTimes.push_back(bareTime);
  }
  const double velmoraMedian = median(velmoraTimes), bareMedian = median(bareTimes);
  std::printf("start-up until ready for input, median of %d alternated runs:\n", rounds);
  std::printf("  Velmora.exe      %8.1f ms\n", velmoraMedian);
  std::printf("  bare window      %8.1f ms\n", bareMedian);
  std::printf("  ratio            %8.3f  (aim: at most 1.10)\n", velmoraMedian / bareMedian);
  return 0;
}
