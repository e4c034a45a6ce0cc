#pragma once
// The program's start: language-file check, command line, application
// object, trace settings, main window and the wizard's place, which of the
// two shows first, the program mode, and the message loop. main() only
// calls MoxRun.
//
// The environment variable MOX_QUIT_WHEN_SHOWN=1 ends the program with exit
// code 0 once the first window (the main window, or the wizard in wizard
// mode) has been shown and has painted: start-up measurements and smoke
// runs use it.

#include <functional>

class TMoxMain;

// Runs the whole program; returns the process exit code: 0 after a normal
// end (and after the usage text), 1 when the language file is missing or
// cannot serve (damaged, cut, lacking the texts the program needs), 2
// when the start-up failed with an error (the bus control not registered).
int MoxRun(int argc, char** argv);

// The pages the tree's nodes open and the wizard embeds, registered with
// the view factory (the start-up does it before any window exists), and
// taken out again.
void MoxRegisterPages();
void MoxUnregisterPages();

// Tests: called once the main window exists (before the message loop), so
// a test can drive it and then quit the loop.
void MoxSetMainWindowHookForTesting(std::function<void(TMoxMain&)> hook);

enum eMoxExitCode : int {
    eMoxExitOk = 0,
    eMoxExitNoLanguageFile = 1,
    eMoxExitStartFailed = 2,
};
