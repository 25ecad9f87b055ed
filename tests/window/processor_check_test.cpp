// The processor check Velmora's entry makes before anything else, and the box it shows on a
// processor without SSE2.
#include "window/processor_check.h"

#include "tests/ascii.h"
#include "tests/window/window_reading.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>

namespace velmora {
namespace {

using testing::ascii;
using testing::readAndCloseMessageBox;

// Every machine this test runs on, in the 32-bit build too, has an x86-64 processor (qemu's
// included), and x86-64 made SSE2 part of the architecture.
TEST(ProcessorCheck, FindsSse2WhereItIs) {
  EXPECT_TRUE(processorHasSse2());
}

// On a processor without SSE2 the entry says so before anything else runs, in front of every
// window, as nothing of Velmora's is on screen; the message is shown here as the entry would
// show it.
TEST(ProcessorCheck, SaysInChineseAndEnglishThatVelmoraNeedsSse2) {
  std::u16string shown;
  bool onTop = false;
  std::thread reader([&shown, &onTop, thread = GetCurrentThreadId()] {
    shown = readAndCloseMessageBox(thread, nullptr, &onTop);
  });
  sayProcessorLacksSse2();
  reader.join();
  EXPECT_TRUE(onTop);
  EXPECT_NE(shown.find(u"Velmora 需要支援 SSE2 的處理器"), std::u16string::npos) << ascii(shown);
  EXPECT_NE(shown.find(u"Velmora needs a processor with SSE2"), std::u16string::npos)
      << ascii(shown);
  EXPECT_LT(shown.find(u"處理器"), shown.find(u"processor")) << "the Chinese first";
  EXPECT_NE(shown.find(u"請在較新的電腦上使用 Velmora"), std::u16string::npos) << ascii(shown);
}

} // namespace
} // namespace velmora
