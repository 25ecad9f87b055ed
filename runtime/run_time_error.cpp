#include "runtime/run_time_error.h"

#include "runtime/report_place.h"

#include <charconv>
#include <utility>

namespace velmora {

namespace {

// The next step after a fault that another click can clear.
constexpr std::u16string_view clickAgain = u"請再按一次「開始換算」";

// A message box is no place for a pasted novel: show the start of a long text.
constexpr std::size_t longestQuotedText = 40;

std::u16string decimal(std::uint32_t value) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  return std::u16string(digits, end);
}

} // namespace

RunTimeError::RunTimeError(ErrorKind kind, std::u16string message)
    : kind_(kind), message_(std::move(message)) {}

const char* RunTimeError::what() const noexcept {
  switch (kind_) {
  case ErrorKind::floatingPoint:
    return "velmora: floating-point error";
  case ErrorKind::propertyCall:
    return "velmora: property call failed";
  case ErrorKind::conversion:
    return "velmora: conversion error";
  }
  return "velmora: run-time error";
}

PropertyStatus failedPropertyStatus(std::uint32_t platformError) noexcept {
  return platformError == propertyCallSucceeded ? ~PropertyStatus{0} : platformError;
}

void checkPropertyCall(PropertyStatus failed, std::u16string_view caption,
                       std::u16string_view control, std::u16string_view property) {
  std::u16string message = u"無法存取「";
  message.append(caption).append(u"」格（屬性呼叫失敗：").append(control).append(u".");
  message.append(property).append(u"，錯誤碼 ").append(decimal(failed)).append(u"）。");
  message.append(clickAgain).append(u"；如果一再發生，請按「離開」，再重新開啟 Velmora。");
  message.append(u"重新開啟後仍然如此，").append(reportStepChinese).append(u"。");
  throw RunTimeError(ErrorKind::propertyCall, std::move(message));
}

void raiseFloatingPointError() {
  throw RunTimeError(ErrorKind::floatingPoint,
                     u"無法計算：有一格的尺寸太長，大到無法當成數字，另一格卻是 0 或空白"
                     u"（浮點運算錯誤）。請檢查長、寬、高，再按一次「開始換算」。");
}

void raiseConversionError(std::u16string_view text) {
  std::u16string message = u"「全部水量」格裡的「";
  if (text.size() > longestQuotedText) {
    // Never cut a surrogate pair in half.
    const bool splitsPair =
        text[longestQuotedText - 1] >= 0xD800 && text[longestQuotedText - 1] <= 0xDBFF;
    message.append(text.substr(0, longestQuotedText - (splitsPair ? 1 : 0))).append(u"…");
  } else {
    message.append(text);
  }
  message.append(u"」無法轉換成數字（型態不符）。").append(clickAgain).append(u"。");
  throw RunTimeError(ErrorKind::conversion, std::move(message));
}

} // namespace velmora
