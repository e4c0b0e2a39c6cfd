// The program's entry: the single instance, the hand-over to a running one,
// the settings and fonts, the main window and the event loop.
#pragma once

namespace vintorel {

// Runs the editor with the program's arguments; returns the exit code.
int run_application(int argc, char** argv);

}  // namespace vintorel
