// The saved data at start-up: the save_data folder beside the program, the
// paths of its three files, and their contents moved into the window.
#pragma once

// Everything the create message does once the controls exist, in this order:
// makes save_data (and says once, with error 01-05, when no files can be kept
// in it; start-up goes on), builds the three paths, loads the trade
// information into the inputs (01-02 when it cannot be loaded; start-up goes
// on), the trade log into the log edit (a fresh log first when there is none;
// 01-03, or 01-04 for the fresh one, when it cannot be read) and the sampling
// count. False when the program must end: memory ran out (01-01, a box with
// no owner) or the log cannot be read.
bool LoadSavedData();
