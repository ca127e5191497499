// The progress window of a long simulation: a modeless dialog owned by the
// main window, shown when a run has gone on for half a second, with a
// progress bar, a line of text and a button that stops the run. The main
// window is disabled while it is up; the run keeps the window alive by
// pumping messages each time it asks whether to go on.
#pragma once

// Whether a simulation is running: no other command may start meanwhile.
bool RunInProgress();
