#include "window/program.h"

#include "conversion/tank_conversion.h"
#include "runtime/window/failure_box.h"
#include "runtime/window/form_window.h"
#include "runtime/window/message_loop.h"
#include "window/form1_boxes.h"

#include <float.h>

#include <exception>

namespace velmora {

int runVelmora(const window::FormDescription& description, HINSTANCE instance) noexcept {
  auto stage = window::Failure::opening;
  try {
    window::FormWindow form(description, instance);
    Form1Boxes boxes(form);
    form.onClick(u"Command1", [&boxes] {
      // The 32-bit program's number parsing is correctly rounded only with the x87 unit at 53
      // bits, as the start-up code leaves it (cmake/mingw-i686.cmake). A hook or input method
      // loaded into the program may change that unseen, so the C runtime's reset sets it again
      // before each conversion.
      _fpreset();
      convertTank(boxes);
    });
    form.onClick(u"Command2", [&form] { form.destroy(); });
    form.show();
    stage = window::Failure::running;
    return window::runMessageLoop(form.handle());
  } catch (const std::exception& error) {
    // The window is gone by now, and a report that names the failing call is the one way to
    // learn why a PC cannot run Velmora.
    window::reportFailure(stage, error.what());
  } catch (...) {
    window::reportFailure(stage, "an exception of no standard type");
  }
  return 1;
}

} // namespace velmora
