#pragma once

#include "runtime/window/form_description.h"

namespace velmora {

// The main window: three tank sizes in, five figures out.
const window::FormDescription& form1() noexcept;

} // namespace velmora
