#include "MoxCommandLine.h"

#include <cstddef>

namespace {

// Whether one of the switches starts at any position below end.
bool FindSwitch(std::string_view text, std::size_t end, std::string_view a, std::string_view b) {
    for (std::size_t i = 0; i < end && i < text.size(); ++i) {
        const std::string_view rest = text.substr(i);
        if (rest.starts_with(a) || rest.starts_with(b))
            return true;
    }
    return false;
}

bool FindChar(std::string_view text, std::size_t end, char c) {
    for (std::size_t i = 0; i < end && i < text.size(); ++i)
        if (text[i] == c)
            return true;
    return false;
}

} // namespace

std::string MoxJoinArguments(int argc, const char* const* argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line += ' ';
        if (argv[i])
            line += argv[i];
    }
    return line;
}

MoxCommandLine MoxParseCommandLine(std::string_view text) {
    // The shorter searches stop one position before the end. An empty text
    // has no position to search at all (the old loop bound underflowed
    // there and read past the text).
    const std::size_t all = text.size();
    const std::size_t shortEnd = all == 0 ? 0 : all - 1;

    std::string_view modeSwitch;
    if (FindSwitch(text, shortEnd, "-k", "/k"))
        modeSwitch = "-k";
    // Searched after "-k", so "-e" wins wherever both stand.
    if (FindSwitch(text, shortEnd, "-e", "/e"))
        modeSwitch = "-e";
    const bool zSwitch = FindSwitch(text, all, "-z", "/z");
    const bool help = FindSwitch(text, all, "-?", "/?") || FindChar(text, all, '?') ||
                      FindSwitch(text, shortEnd, "-h", "/h") || FindChar(text, shortEnd, 'h');

    MoxCommandLine cmd;
    cmd.mode = modeSwitch == "-e" ? eModeExpert : eModeStandard;
    cmd.expert = zSwitch && cmd.mode == eModeExpert;
    cmd.help = help;
    return cmd;
}
