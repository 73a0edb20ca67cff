#pragma once

namespace quillora {

// When the environment variable QUILLORA_STARTUP_TRACE names a file, appends to it one line per
// start-up moment, "<moment> <steady clock in ns>": "window-painted" once the main window's first
// paint is done, "text-painted" once a note pane has first painted a text. The steady clock is
// the system's monotonic clock, so a program that started this one can take the difference.
// Without the variable nothing is installed.
void InstallStartupTraceIfAsked();

}  // namespace quillora
