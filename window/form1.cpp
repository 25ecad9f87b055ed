#include "window/form1.h"

#include "resources/resource_ids.h"

#include <array>

namespace velmora {

namespace {

using window::ControlDescription;
using window::FontDescription;
using window::Kind;
using window::noFont;
using window::noIndex;
using window::Rgb;

// 新細明體 is not on every machine (English and Simplified Chinese Windows 10 and 11 have it
// only with the optional Traditional Chinese supplemental fonts); these draw the same
// characters in a similar hand. Microsoft JhengHei UI, on every Windows from 8, comes before
// 微軟正黑體: it is the same face drawn for menus and dialogs, its line short enough for the
// 17-pixel label boxes, which 微軟正黑體's is not. Past Windows' own faces comes a free one, for
// where none of them is (Wine): TW-Sung, Taiwan's CNS 11643 Sung face, in the standard forms a
// Taiwanese reader expects (為, where cwTeX's Ming draws the old 爲), its characters no wider and
// its line no taller than 新細明體's, so every caption still fits its box. (Arphic's Ming faces
// draw some small sizes a pixel wider per character, Noto's and Arphic's Kai a taller line.)
constexpr std::array<std::u16string_view, 8> mingFaces{
    u"新細明體",   u"PMingLiU",           u"細明體", u"MingLiU", u"Microsoft JhengHei UI",
    u"微軟正黑體", u"Microsoft JhengHei", u"TW-Sung"};
constexpr std::array<std::u16string_view, 3> arialFaces{u"Arial", u"Liberation Sans", u"Arimo"};

constexpr int chineseCharset = 136; // CHINESEBIG5_CHARSET
constexpr int westernCharset = 0;   // ANSI_CHARSET

constexpr int f1 = 0, f2 = 1, f3 = 2, f4 = 3;
constexpr std::array<FontDescription, 4> fonts{{
    {mingFaces, 1200, chineseCharset},
    {mingFaces, 1125, chineseCharset},
    {mingFaces, 975, chineseCharset},
    {arialFaces, 975, westernCharset},
}};

constexpr Rgb red{0xFF, 0x00, 0x00};
// The result boxes' backgrounds, one to a figure.
constexpr Rgb cyan{0xC0, 0xFF, 0xFF}, peach{0xFF, 0xE0, 0xC0}, pink{0xFF, 0xC0, 0xFF},
    mint{0xC0, 0xFF, 0xC0}, lavender{0xC0, 0xC0, 0xFF};
// The window's caption, and the banner's name for a screen reader.
constexpr std::u16string_view title = u"Velmora";
constexpr int banner = VELMORA_BANNER;

// For a screen reader: Windows names each input box after the caption made just before it
// (水族箱長： names Text1), so each box comes right after its caption; the banner draws its
// picture, not its text, which is its name; and the volume, the first figure a conversion
// writes, is read out each time (a live region), the others left to be read on request.
constexpr auto controls = std::to_array<ControlDescription>({
    {u"Picture1", noIndex, Kind::picture, title, -360, 0, 3615, 495, noFont, {}, {}, banner},
    {u"Label1", noIndex, Kind::label, u"水族箱長：", 240, 600, 1215, 255, f1},
    {u"Text1", noIndex, Kind::input, u"", 1440, 600, 735, 270, f4},
    {u"Label14", 0, Kind::label, u"公分", 2280, 600, 495, 255, f1},
    {u"Label2", noIndex, Kind::label, u"水族箱寬：", 240, 1080, 1215, 255, f1},
    {u"Text2", noIndex, Kind::input, u"", 1440, 1080, 735, 270, f4},
    {u"Label14", 1, Kind::label, u"公分", 2280, 1080, 495, 255, f1},
    {u"Label3", noIndex, Kind::label, u"水族箱高：", 240, 1560, 1215, 255, f1},
    {u"Text3", noIndex, Kind::input, u"", 1440, 1560, 735, 270, f4},
    {u"Label14", 2, Kind::label, u"公分", 2280, 1560, 495, 255, f1},
    {u"Command1", noIndex, Kind::button, u"開始換算", 240, 2040, 2295, 375, f2},
    {u"Label4", noIndex, Kind::label, u"全部水量：", 240, 2640, 1215, 255, f1},
    {u"Label5", noIndex, Kind::result, u"", 1440, 2640, 735, 255, f4, cyan, {}, 0, true},
    {u"Label14", 3, Kind::label, u"公升", 2280, 2640, 495, 255, f1},
    {u"Label6", noIndex, Kind::label, u"需要光量：", 240, 3000, 1215, 255, f1},
    {u"Label7", noIndex, Kind::result, u"", 1440, 3000, 735, 255, f4, peach},
    {u"Label14", 4, Kind::label, u"瓦", 2280, 3000, 495, 255, f1},
    {u"Label9", noIndex, Kind::label, u"建議光量：", 240, 3360, 1215, 255, f1},
    {u"Label8", noIndex, Kind::result, u"", 1440, 3360, 735, 255, f4, pink},
    {u"Label14", 5, Kind::label, u"瓦", 2280, 3360, 495, 255, f1},
    {u"Label10", noIndex, Kind::label, u"需要流量：", 240, 3720, 1215, 255, f1},
    {u"Label11", noIndex, Kind::result, u"", 1440, 3720, 735, 255, f4, mint},
    {u"Label14", 6, Kind::label, u"公升", 2280, 3720, 495, 255, f1},
    {u"Label12", noIndex, Kind::label, u"建議流量：", 240, 4080, 1215, 255, f1},
    {u"Label13", noIndex, Kind::result, u"", 1440, 4080, 735, 255, f4, lavender},
    {u"Label14", 7, Kind::label, u"公升", 2280, 4080, 495, 255, f1},
    {u"Label14", 8, Kind::label, u"流量以每小時為計算單位", 240, 4440, 2535, 255, f2, {}, red},
    {u"Command2", noIndex, Kind::button, u"離開", 240, 4800, 855, 495, f1},
    {u"Label14", 9, Kind::label, u"程式設計：Ovek", 1320, 4920, 1455, 255, f3},
});

constexpr window::FormDescription description{
    title, 3060, 5400, VELMORA_ICON, fonts, controls,
};

} // namespace

const window::FormDescription& form1() noexcept {
  return description;
}

} // namespace velmora
