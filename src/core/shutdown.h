#pragma once
// Ending the program cleanly when the system asks it to (SIGTERM at log-out
// or shutdown, SIGINT from a terminal, SIGHUP when the terminal goes).

namespace zorelad {

// From now on SIGTERM, SIGINT and SIGHUP only wake the event loop, which then
// quits: every event loop returns, the work under way stops and every object
// is destroyed on the way out, so temporary files are removed. Call once,
// after the application object is made.
void quitOnTerminationSignals();

} // namespace zorelad
