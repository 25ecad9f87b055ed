#pragma once

// Where Wine shows this machine's files, for the tests that start or load the built Velmora.exe
// by its path: the user's tests (tests/window) and the resources' (tests/release).

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>

namespace velmora::testing {

// A Linux path as Wine's Z: drive shows it: /work/Velmora.exe is Z:\work\Velmora.exe.
inline std::filesystem::path winePath(std::string_view linuxPath) {
  std::wstring path =
      L"Z:" + std::filesystem::path(std::u8string(linuxPath.begin(), linuxPath.end())).wstring();
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

} // namespace velmora::testing
