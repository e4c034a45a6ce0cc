#pragma once
// The running dashes under the transfer form's progress bar: a 7-character
// text that fills with '-' from one end, is blanked again from the same end,
// and then runs the other way. The form calls Step on its 90 ms timer and
// shows the text; this class holds no Qt.

#include <cstdint>

class TSwapAnimation {
public:
    // Interval of the form's timer.
    static constexpr int kIntervalMs = 90;
    // Width of the running text.
    static constexpr int kWidth = 7;

    TSwapAnimation() { Reset(); }

    // Start state of every run: empty text, running from the left, filling.
    void Reset();
    // One tick; returns the text to show.
    const char* Step();
    const char* GetText() const { return m_szText; }

private:
    // The text buffer of the form: 10 characters, cleared at the start, so
    // the first pass from the left shows a growing text.
    static constexpr int kBufferLen = 10;

    bool m_bFromLeft = true;
    bool m_bFilling = true;
    int m_nBlanks = 0;
    int m_nDashes = 0;
    char m_szText[kBufferLen + 1];
};
