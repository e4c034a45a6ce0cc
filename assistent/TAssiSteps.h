#pragma once
// What each state of the wizard shows: the work page (one of the wizard's
// own question pages, a configuration page by its tree-node kind, or the
// subscriber programming form), the help page with its texts, and the step
// caption. Plain data.

#include <array>
#include <cstdint>

enum class eAssiWork : std::uint8_t {
    Question, // the wizard's own page of the state
    View,     // a configuration page, created by its node kind
    TlnProg,  // the subscriber programming form
};

struct TAssiStep {
    eAssiWork work;
    std::uint8_t viewKind;        // node kind of a View, else 0
    const char* workClass;        // class name of the work page (its objectName)
    const char* helpClass;        // class name of the help page (its objectName)
    std::array<int, 4> helpTexts; // 0 ends the list
    int caption;                  // caption text
    int captionIT1;               // caption text with door-interface type 1, 0: the same
};

class TAssiSteps {
public:
    // The step of a state 0..26; nullptr outside.
    static const TAssiStep* Get(std::uint8_t state);
    // The caption text of a state for the door-interface type.
    static int Caption(std::uint8_t state, std::uint8_t typeIT);
};
