// How long Velmora takes from process start until its window is ready for input, against two
// programs built by the same toolchain and started the same way: a bare Win32 window, and
// Velmora's window written out call by call (straight_window). Bare to straight is what the
// window itself costs; straight to Velmora is what Velmora's engine adds. The programs take
// turns, each round in another order, so a machine that slows down or speeds up during the run
// weighs on all alike.
//
//   startup_bench [ROUNDS]
//
// It finds the programs where the build puts them: bare_window.exe and straight_window.exe
// beside it, Velmora.exe in the folder above.
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
                      &startup, &process)) {
    return -1;
  }
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
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
  }
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
  struct Program {
    const char* name;
    std::wstring path;
    std::vector<double> times;
  };
  Program programs[] = {{"bare window", folder + L"bare_window.exe", {}},
                        {"straight-line window", folder + L"straight_window.exe", {}},
                        {"Velmora.exe", folder + L"..\\Velmora.exe", {}}};
  constexpr int count = static_cast<int>(std::size(programs));
  // One start of each first, unmeasured: the first start of any program loads the system's
  // DLLs from disk.
  for (const Program& program : programs) {
    startOnce(program.path);
  }
  for (int round = 0; round < rounds; ++round) {
    for (int turn = 0; turn < count; ++turn) {
      // Each program goes first, second and third equally often.
      Program& program = programs[(round + turn) % count];
      const double time = startOnce(program.path);
      if (time < 0) {
        std::fprintf(stderr, "startup_bench: %s did not become ready for input\n", program.name);
        return 1;
      }
      program.times.push_back(time);
    }
  }
  double medians[count];
  std::printf("start-up until ready for input, %d-bit build, median of %d rounds:\n",
              static_cast<int>(sizeof(void*) * 8), rounds);
  for (int i = 0; i < count; ++i) {
    medians[i] = median(programs[i].times);
    std::printf("  %-22s %8.1f ms\n", programs[i].name, medians[i]);
  }
  std::printf("  straight / bare        %8.3f  what the window itself costs\n",
              medians[1] / medians[0]);
  std::printf("  Velmora / straight     %8.3f  what Velmora's engine adds (aim: at most 1.05)\n",
              medians[2] / medians[1]);
  std::printf("  Velmora / bare         %8.3f  (aim: at most 1.3 for the 32-bit build)\n",
              medians[2] / medians[0]);
  return 0;
}
