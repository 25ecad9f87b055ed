#include "conversion/tank_conversion.h"
#include "runtime/window/form_window.h"
#include "window/form1.h"
#include "window/form1_boxes.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  try {
    velmora::window::FormWindow form(velmora::form1(), instance);
    velmora::Form1Boxes boxes(form);
    form.onClick(u"Command1", [&boxes] { velmora::convertTank(boxes); });
    form.onClick(u"Command2", [&form] { velmora::window::endProgram(form.handle()); });
    form.show(showCommand);
    return velmora::window::runMessageLoop(form.handle());
  } catch (...) {
    MessageBoxW(nullptr, L"無法開啟 Velmora 的視窗。", L"Velmora", MB_OK | MB_ICONERROR);
    return 1;
  }
}
