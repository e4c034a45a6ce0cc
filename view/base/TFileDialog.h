#pragma once
// The open and save file dialogs of the forms. Filters come in the form the
// language file writes them, "Name (*.ktx)|*.ktx|All (*.*)|*.*"; titles
// and default extensions are language texts too. Tests answer the dialogs
// through the handler seam (an empty name is a cancel).

#include <QString>

#include <functional>

class QWidget;

class TFileDialog {
public:
    enum class Kind { Open, Save };
    struct Request {
        Kind kind;
        QString filter;               // as given, in the pipe form
        QString initialName;          // file name proposed (save) or empty
        bool confirmOverwrite = true; // save: the dialog asks before replacing a file
        QString title;                // empty: the toolkit's own
        QString defaultExtension;     // added to a name typed without one ("bin"); may be empty
    };
    using Handler = std::function<QString(const Request&)>;

    // Open: the file must exist. Save: asks before overwriting, unless the
    // caller asks itself (it adds an extension to the chosen name first, so
    // only it knows the file that will be replaced). Returns the chosen
    // path, or an empty string when the user cancelled.
    static QString GetOpenFileName(QWidget* parent, const QString& filter,
                                   const QString& title = {}, const QString& defaultExtension = {});
    static QString GetSaveFileName(QWidget* parent, const QString& filter,
                                   const QString& initialName, bool confirmOverwrite = true,
                                   const QString& title = {}, const QString& defaultExtension = {});

    // "A (*.a)|*.a|B|*.b" -> "A (*.a);;B (*.b)": Qt lists each filter with
    // its patterns.
    static QString ToQtFilter(const QString& pipeFilter);

    static void SetHandlerForTesting(Handler handler);

private:
    static QString Run(QWidget* parent, const Request& request);
};
