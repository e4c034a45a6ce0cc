#pragma once
// The program's message boxes, with the flags and answers the forms were
// written with (stop icon with OK is 16, Yes/No/Cancel with the question
// icon is 35, ...). Tests pre-answer every box through the handler seam, so
// no modal box ever blocks a test.

#include <QString>

#include <functional>

class QWidget;

namespace mb {
// Buttons.
inline constexpr unsigned kOk = 0x0;
inline constexpr unsigned kOkCancel = 0x1;
inline constexpr unsigned kYesNoCancel = 0x3;
inline constexpr unsigned kYesNo = 0x4;
inline constexpr unsigned kButtonMask = 0xF;
// Icons.
inline constexpr unsigned kIconStop = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconWarning = 0x30;
inline constexpr unsigned kIconInformation = 0x40;
inline constexpr unsigned kIconMask = 0xF0;
// The second button is the default one.
inline constexpr unsigned kDefButton2 = 0x100;

// Answers.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
} // namespace mb

class TMsgBox {
public:
    struct Request {
        int textId; // language text shown, 0 when the text was put together
        QString text;
        QString caption;
        unsigned flags;
    };
    using Handler = std::function<int(const Request&)>;

    // Shows a modal box and returns the button pressed (mb::kId...).
    static int Show(QWidget* parent, int textId, const QString& text, const QString& caption,
                    unsigned flags);

    // Runs show once no box is open: at once when none is, else right after
    // the last open one is answered. A notice that arrives while a box waits
    // (a hang-up reported inside the box's event loop) then follows that
    // box instead of opening on top of it. GUI thread only.
    static void WhenNoneOpen(std::function<void()> show);
    // Boxes waiting for their answer now (tests, traces).
    static int OpenCount();

    // Replaces the box (tests); an empty handler restores the real one.
    static void SetHandlerForTesting(Handler handler);
};
