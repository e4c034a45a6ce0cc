#pragma once
// The error boxes of the language-text layer. They cannot take their texts
// from the language file (it is the file that failed), so their English
// wording is fixed. Tests pre-answer them through the handler seam; without
// a handler a box shows when a QApplication runs, else the message goes to
// the trace sink (stderr).

#include <functional>
#include <string>

class ErrorBox {
public:
    enum class Buttons { Ok, OkCancel };
    enum class Answer { Ok, Cancel };

    struct Request {
        std::string caption; // UTF-8
        std::string text;    // UTF-8
        Buttons buttons;
    };
    using Handler = std::function<Answer(const Request&)>;

    // Shows an error box (error icon) and returns the button pressed.
    static Answer Show(const std::string& caption, const std::string& text, Buttons buttons);

    // Replaces the box (tests); an empty handler restores the real one.
    static void SetHandlerForTesting(Handler handler);
};
