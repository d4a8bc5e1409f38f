#pragma once

#include <atomic>

namespace hoshizora {

// Called with the POSIX signal that matches a console's stop event (SIGINT
// for Ctrl-C and Ctrl-Break, SIGTERM when the console is closed), so that a
// stopped run exits with the status a shell on Linux would show. False when
// nothing under way would notice the request: Windows then ends the program.
using ConsoleStopHandler = bool (*)(int signal);

// Turns the console's stop events into a request to stop instead of an
// immediate end: the run under way then removes its partial WAV and ends its
// encoder before the program exits. Windows ends a program whose console is
// being closed as soon as the handler returns, so the handler waits for
// `finished`, up to a little less than the time Windows allows.
bool CatchConsoleStops(ConsoleStopHandler on_stop, const std::atomic<bool>* finished);

// The handler itself: true when it took the event, false to leave it to
// Windows. Exposed for tests.
bool HandleConsoleStop(unsigned long event);

}  // namespace hoshizora
