#pragma once

#include <functional>

class TMainForm;

// The whole program: start-up (settings, single instance, splash), the main
// window and the message loop. `started` runs once the window is shown (a test
// drives the program through it); the result is the exit code.
int runBalizor(int argc, char *argv[], const std::function<void(TMainForm &)> &started = {});
