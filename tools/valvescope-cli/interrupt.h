#pragma once

namespace vs::cli {

// From now on the first Ctrl-C (SIGINT or SIGTERM on POSIX; Ctrl-C, Ctrl-Break
// or the console window closing on Windows) only asks the run to stop, so that
// it can put the port back and send "OUT"; a second one ends the program at once.
void stopOnInterrupt();

// Whether an interrupt has asked the run to stop.
bool stopRequested();

}  // namespace vs::cli
