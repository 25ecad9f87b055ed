#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace velmora {

// What went wrong when a handler stopped.
enum class ErrorKind { floatingPoint, propertyCall, conversion };

// The one failure type of the program. Its message, in Traditional Chinese, is what the
// keeper reads in the error box: the fault in the words of the window (a box by its caption),
// the inner names in brackets for a report, then what to do next in the window, which stays
// open: check the sizes or click again, and where that keeps failing, leave, open Velmora
// again and report it. what() is only a fixed ASCII tag for debuggers.
class RunTimeError : public std::exception {
public:
  RunTimeError(ErrorKind kind, std::u16string message);

  ErrorKind kind() const noexcept { return kind_; }
  const std::u16string& message() const noexcept { return message_; }
  const char* what() const noexcept override;

private:
  ErrorKind kind_;
  std::u16string message_;
};

// The status a box reports for one property call: 0 when the call succeeded, otherwise the
// platform's error code (never 0 for a failure, see failedPropertyStatus).
using PropertyStatus = std::uint32_t;
inline constexpr PropertyStatus propertyCallSucceeded = 0;

// A failure whose platform code is 0 still has to read as a failure.
PropertyStatus failedPropertyStatus(std::uint32_t platformError) noexcept;

// Raises the property-call error for a failed status, naming the box by its caption and then,
// in brackets, the control and the property:
//   checkPropertyCall(5, u"需要光量", u"Label7", u"Caption") throws a message that starts
//   "無法存取「需要光量」格（屬性呼叫失敗：Label7.Caption，錯誤碼 5）".
[[noreturn]] void checkPropertyCall(PropertyStatus failed, std::u16string_view caption,
                                    std::u16string_view control, std::u16string_view property);

// Raises the error of an invalid floating-point operation or a division by zero. The only divisor
// is 1000, and a size too large to be a number only makes an infinite figure, so the message
// names what really causes one: such a size times another that is 0 or empty.
[[noreturn]] void raiseFloatingPointError();

// Raises the error of a text that is not a number; long texts are shortened in the message. The
// one text Velmora reads back as a number is the volume box's, so the message says it came
// from there.
[[noreturn]] void raiseConversionError(std::u16string_view text);

} // namespace velmora
