#pragma once

#include "conversion/tank_boxes.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace velmora::testing {

// Boxes in memory that log every call and can be told to fail one.
class FakeBoxes : public TankBoxes {
public:
  struct Call {
    bool write;
    Box box;
    bool operator==(const Call&) const = default;
  };

  FakeBoxes(std::u16string length, std::u16string width, std::u16string height) {
    texts[Box::Text1] = std::move(length);
    texts[Box::Text2] = std::move(width);
    texts[Box::Text3] = std::move(height);
  }

  PropertyStatus read(Box box, std::u16string& text) override {
    calls.push_back({false, box});
    if (failingCall && *failingCall == calls.back()) {
      return 1400;
    }
    text = texts[box];
    return propertyCallSucceeded;
  }

  PropertyStatus write(Box box, std::u16string_view text) override {
    calls.push_back({true, box});
    if (failingCall && *failingCall == calls.back()) {
      return 1400;
    }
    texts[box] = std::u16string(text);
    return propertyCallSucceeded;
  }

  std::map<Box, std::u16string> texts;
  std::vector<Call> calls;
  std::optional<Call> failingCall;
};

} // namespace velmora::testing
