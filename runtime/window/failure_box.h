#pragma once

// The box that says Velmora cannot start, or cannot go on, and why: Traditional Chinese with
// English beneath (a PC that cannot start Velmora may well lack a Chinese face), what to do next,
// where to report it when it keeps happening (runtime/report_place.h), and the reason, which is
// never empty. Windows copies a message box's whole text on Ctrl+C, which the box says, so that
// a report can quote it.
//
//   failureText(Failure::opening, "CreateWindowExW failed: error 1407 (Cannot find window class.)")
//     starts "Velmora 無法開啟視窗。" and ends
//     "原因 Reason: CreateWindowExW failed: error 1407 (Cannot find window class.)"
//   failureText(Failure::opening, "") ends "原因 Reason: an error that gave no description"

#include <windows.h>

#include <array>

namespace velmora::window {

// The style of a box that is Velmora's last word, shown when none of its windows is on screen:
// it asks for the foreground, which Windows grants a program the keeper has just started, and
// stays above other windows where Windows' foreground lock refuses it, so that it is never left
// behind Explorer while the keeper waits for something to happen.
inline constexpr UINT lastWordStyle = MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST;

// When it failed: before the window was open and shown, or after.
enum class Failure { opening, running };

// The box's whole text; the reason is in the ANSI code page, as a WindowError's text is
// (decodeFailureWords), and what does not fit is cut.
std::array<wchar_t, 1024> failureText(Failure when, const char* reason) noexcept;

// Shows the box and returns once the user has answered it. A window destroyed on the way here
// has posted the quit message, which would close the box the moment it opened; the messages
// waiting are dispatched first, up to the quit message, which is taken off the queue.
void reportFailure(Failure when, const char* reason) noexcept;

} // namespace velmora::window
