#pragma once
// The program's command line: "-k" standard mode (the default), "-e" expert
// mode, "-z" the hidden service items (only with "-e"), "-h" and "-?" the
// usage text. Each switch may also start with "/".
//
// The switches are found anywhere in the text, also inside a file name, the
// way the program always looked for them: a lone "h" or "?" counts as the
// help switch too. The searches for "-k", "-e" and "-h"/"h" leave out the
// last character of the text; those for "-z" and "-?"/"?" take it in. So
// "?" alone asks for help and "h" alone does not.

#include <string>
#include <string_view>

enum eProgramMode : int {
    eModeStandard = 1,
    eModeExpert = 2,
};

struct MoxCommandLine {
    int mode = eModeStandard;
    bool expert = false; // "-z" together with "-e"
    bool help = false;
};

// The text after the program name: the arguments joined by single spaces.
std::string MoxJoinArguments(int argc, const char* const* argv);

MoxCommandLine MoxParseCommandLine(std::string_view commandLine);
