#pragma once
// The editor's graphical start: the application object, the look and the event loop.
// main() calls it only after the headless modes have declined the arguments, so those
// modes never need a display.

int RunEditor(int argc, char** argv);
