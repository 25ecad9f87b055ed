// The program's entry point, where the C runtime's start hands over.
#include "window/form1.h"
#include "window/program.h"

#include <windows.h>

// The show state Windows hands the program is not used: the window opens at its own size.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  return velmora::runVelmora(velmora::form1(), instance);
}
