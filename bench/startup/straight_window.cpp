// Velmora's window written out call by call, with no description table and no engine: the same
// 29 controls in the same places, with their texts, colours and fonts (in the faces Velmora
// settles on in the project's Wine prefixes), the banner, the icon, the result boxes' tooltip,
// the volume box's live region (marked by the product's own screen_reader) and the manifest.
// startup_bench times it between the bare window and Velmora, to tell what the window itself
// costs from what the engine adds. It is built the simplest way that works where the bench runs,
// so it leaves out what only other Windows need (the tooltip's older structure size, comctl32
// 5.8's classes, the frame's and the controls' scaling when the dpi changes) and everything a
// click does.
#include "resources/resource_ids.h"
#include "runtime/window/handles.h"
#include "runtime/window/screen_reader.h"

#include <commctrl.h>
#include <windows.h>

namespace {

using velmora::window::Bitmap;
using velmora::window::Brush;
using velmora::window::Font;

// What the window procedure colours the static controls with.
struct Paint {
  HWND note;
  HWND results[5];
  COLORREF colours[5];
  Brush brushes[5];
};

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  const auto* paint = reinterpret_cast<const Paint*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_CTLCOLORSTATIC && paint) {
    const auto dc = reinterpret_cast<HDC>(wParam);
    for (int i = 0; i < 5; ++i) {
      if (reinterpret_cast<HWND>(lParam) == paint->results[i]) {
        SetBkColor(dc, paint->colours[i]);
        return reinterpret_cast<LRESULT>(paint->brushes[i].get());
      }
    }
    if (reinterpret_cast<HWND>(lParam) == paint->note) {
      SetTextColor(dc, RGB(0xFF, 0, 0));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
  }
  if (message == WM_DRAWITEM && paint) {
    // The result boxes start empty: their colour is all there is to draw.
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    for (int i = 0; i < 5; ++i) {
      if (item.hwndItem == paint->results[i]) {
        FillRect(item.hDC, &item.rcItem, paint->brushes[i].get());
      }
    }
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == 101 && HIWORD(wParam) == BN_CLICKED) {
    DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

int dpi = 96;
int px(int twips) {
  return MulDiv(twips, dpi, 1440);
}

Font font(const wchar_t* face, int centipoints, BYTE charset) {
  return Font(CreateFontW(-MulDiv(centipoints, dpi, 7200), 0, 0, 0, FW_NORMAL, 0, 0, 0, charset, 0,
                          0, 0, 0, face));
}

HWND add(HWND parent, const wchar_t* kind, const wchar_t* text, DWORD style, DWORD exStyle,
         int left, int top, int width, int height, const Font& font, int id = 0) {
  const HWND child = CreateWindowExW(
      exStyle, kind, text, WS_CHILD | WS_VISIBLE | style, px(left), px(top), px(width), px(height),
      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  if (font) {
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  }
  return child;
}

HWND label(HWND parent, const wchar_t* text, int left, int top, int width, const Font& font) {
  return add(parent, L"STATIC", text, SS_LEFT, 0, left, top, width, 255, font);
}

HWND input(HWND parent, int top, const Font& font) {
  const HWND edit = add(parent, L"EDIT", L"", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL,
                        WS_EX_CLIENTEDGE, 1440, top, 735, 270, font);
  SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
  return edit;
}

HWND result(HWND parent, int top, const Font& font) {
  return add(parent, L"STATIC", L"", SS_OWNERDRAW | SS_NOTIFY, WS_EX_STATICEDGE, 1440, top, 735,
             255, font);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  if (!InitCommonControlsEx(&classes)) {
    return 1;
  }
  const HDC screen = GetDC(nullptr);
  dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(VELMORA_ICON));
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"StraightWindow";
  if (!RegisterClassExW(&windowClass)) {
    return 1;
  }
  constexpr DWORD frameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  RECT frame{0, 0, px(3060), px(5400)};
  AdjustWindowRectEx(&frame, frameStyle, FALSE, 0);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const HWND window = CreateWindowExW(0, L"StraightWindow", L"Velmora", frameStyle,
                                      (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                      (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                                      nullptr, nullptr, instance, nullptr);
  if (!window) {
    return 1;
  }

  // The faces Velmora settles on in the project's Wine prefixes (on Windows: 新細明體, Arial).
  const wchar_t ming[] = L"TW-Sung", arial[] = L"Liberation Sans";
  const Font f1 = font(ming, 1200, CHINESEBIG5_CHARSET), f2 = font(ming, 1125, CHINESEBIG5_CHARSET),
             f3 = font(ming, 975, CHINESEBIG5_CHARSET), f4 = font(arial, 975, ANSI_CHARSET);
  const Font none;
  const Bitmap banner(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(VELMORA_BANNER),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));

  const HWND picture = add(window, L"STATIC", L"", SS_BITMAP, 0, -360, 0, 3615, 495, none);
  SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner.get()));
  label(window, L"水族箱長：", 240, 600, 1215, f1);
  const HWND first = input(window, 600, f4);
  label(window, L"公分", 2280, 600, 495, f1);
  label(window, L"水族箱寬：", 240, 1080, 1215, f1);
  input(window, 1080, f4);
  label(window, L"公分", 2280, 1080, 495, f1);
  label(window, L"水族箱高：", 240, 1560, 1215, f1);
  input(window, 1560, f4);
  label(window, L"公分", 2280, 1560, 495, f1);
  add(window, L"BUTTON", L"開始換算", WS_TABSTOP | BS_PUSHBUTTON, 0, 240, 2040, 2295, 375, f2, 100);
  Paint paint{};
  label(window, L"全部水量：", 240, 2640, 1215, f1);
  paint.results[0] = result(window, 2640, f4);
  label(window, L"公升", 2280, 2640, 495, f1);
  label(window, L"需要光量：", 240, 3000, 1215, f1);
  paint.results[1] = result(window, 3000, f4);
  label(window, L"瓦", 2280, 3000, 495, f1);
  label(window, L"建議光量：", 240, 3360, 1215, f1);
  paint.results[2] = result(window, 3360, f4);
  label(window, L"瓦", 2280, 3360, 495, f1);
  label(window, L"需要流量：", 240, 3720, 1215, f1);
  paint.results[3] = result(window, 3720, f4);
  label(window, L"公升", 2280, 3720, 495, f1);
  label(window, L"建議流量：", 240, 4080, 1215, f1);
  paint.results[4] = result(window, 4080, f4);
  label(window, L"公升", 2280, 4080, 495, f1);
  paint.note = label(window, L"流量以每小時為計算單位", 240, 4440, 2535, f2);
  add(window, L"BUTTON", L"離開", WS_TABSTOP | BS_PUSHBUTTON, 0, 240, 4800, 855, 495, f1, 101);
  label(window, L"程式設計：Ovek", 1320, 4920, 1455, f3);
  const COLORREF colours[5] = {RGB(0xC0, 0xFF, 0xFF), RGB(0xFF, 0xE0, 0xC0), RGB(0xFF, 0xC0, 0xFF),
                               RGB(0xC0, 0xFF, 0xC0), RGB(0xC0, 0xC0, 0xFF)};
  for (int i = 0; i < 5; ++i) {
    paint.colours[i] = colours[i];
    paint.brushes[i] = Brush(CreateSolidBrush(colours[i]));
  }
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&paint));
  // The tooltip that shows a rounded figure whole.
  const HWND tooltip =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance, nullptr);
  for (const HWND box : paint.results) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(box);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }

  // The volume box as a polite live region, for a screen reader.
  const velmora::window::ComApartment apartment;
  velmora::window::markLiveRegion(paint.results[0]);

  ShowWindow(window, showCommand);
  UpdateWindow(window);
  SetFocus(first);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
