// The released Velmora.exe as Windows itself reads it, so under Wine: the icons and the version
// record in its resources.
#include "resources/resource_ids.h"
#include "tests/window/test_handles.h"
#include "tests/wine_path.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace velmora {
namespace {

// The Velmora.exe of this build, as Wine names it.
std::wstring velmoraExe() {
  return testing::winePath(VELMORA_EXE).wstring();
}

#pragma pack(push, 2)
struct GroupEntry {
  BYTE width, height, colors, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST(VelmoraExeResources, CarriesTheNineIconImages) {
  const testing::OwnedModule exe(LoadLibraryExW(
      velmoraExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(exe) << GetLastError();
  const HRSRC group =
      FindResourceW(exe.get(), MAKEINTRESOURCEW(VELMORA_ICON), MAKEINTRESOURCEW(14));
  ASSERT_NE(group, nullptr);
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(exe.get(), group)));
  ASSERT_NE(data, nullptr);
  WORD header[3];
  std::memcpy(header, data, sizeof header);
  EXPECT_EQ(header[0], 0);
  EXPECT_EQ(header[1], 1);
  ASSERT_EQ(header[2], 9);
  ASSERT_EQ(SizeofResource(exe.get(), group), 6 + 9 * sizeof(GroupEntry));

  const struct {
    int size, bits;
    bool png;
  } images[] = {{48, 8, false},  {32, 8, false},  {24, 8, false},  {16, 8, false}, {256, 32, true},
                {48, 32, false}, {32, 32, false}, {24, 32, false}, {16, 32, false}};
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE(i);
    GroupEntry entry;
    std::memcpy(&entry, data + 6 + i * sizeof entry, sizeof entry);
    EXPECT_EQ(entry.id, 30001 + i);
    EXPECT_EQ(entry.width == 0 ? 256 : entry.width, images[i].size);
    EXPECT_EQ(entry.height == 0 ? 256 : entry.height, images[i].size);
    EXPECT_EQ(entry.bitCount, images[i].bits);
    const HRSRC image = FindResourceW(exe.get(), MAKEINTRESOURCEW(entry.id), MAKEINTRESOURCEW(3));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(SizeofResource(exe.get(), image), entry.bytes);
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(exe.get(), image)));
    ASSERT_NE(bytes, nullptr);
    const bool png = std::memcmp(bytes, "\x89PNG", 4) == 0;
    EXPECT_EQ(png, images[i].png);
  }
  EXPECT_NE(FindResourceW(exe.get(), MAKEINTRESOURCEW(VELMORA_BANNER), MAKEINTRESOURCEW(2)),
            nullptr);
  EXPECT_NE(FindResourceW(exe.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)), nullptr);
}

TEST(VelmoraExeResources, CarriesTheVersionRecord) {
  const std::wstring path = velmoraExe();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

  const struct {
    const wchar_t* key;
    const wchar_t* value;
  } strings[] = {
      {L"\\StringFileInfo\\040404B0\\FileVersion", L"1.00"},
      {L"\\StringFileInfo\\040404B0\\ProductVersion", L"1.00"},
      {L"\\StringFileInfo\\040404B0\\ProductName", L"Velmora"},
      {L"\\StringFileInfo\\040404B0\\OriginalFilename", L"Velmora.exe"},
      {L"\\StringFileInfo\\040404B0\\FileDescription", L"Velmora 水族計算機"},
      {L"\\StringFileInfo\\040404B0\\LegalCopyright", L"Copyright (c) 2026 The Velmora developers"},
  };
  for (const auto& s : strings) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), s.key, &value, &length));
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(value)), s.value);
  }
  void* translation = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translation, &length));
  ASSERT_EQ(length, 4u);
  WORD pair[2];
  std::memcpy(pair, translation, sizeof pair);
  EXPECT_EQ(pair[0], 0x0404);
  EXPECT_EQ(pair[1], 1200);
}

} // namespace
} // namespace velmora
