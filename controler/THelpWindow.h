#pragma once
// The help window: HTML pages per language and program mode, each help
// "file" a folder beside the program ("res/help/kktx_d" for standard mode in
// German, "res/help/ektx_d" for expert mode, "_uk", "_f", "_i", "_dk", "_nl"
// for the other languages) with a contents page "index.html" and one page
// "<context>.html" per help context.

#include <QWidget>

#include <string>

class QTextBrowser;

class THelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // "res/help/kktx_d" (mode 1) or "res/help/ektx_d" (mode 2) with the
    // language's ending; empty for a language without help.
    static std::string HelpFileName(int sprache, int mode);
    // That folder beside the program when it holds a contents page, else
    // empty.
    static std::string HelpFilePath(int sprache, int mode);

    void SetHelpFile(const std::string& path) { m_HelpFile = path; }
    const std::string& HelpFile() const { return m_HelpFile; }

    // Shows the contents page; false without a help file.
    bool ShowContents();
    // Shows the page of a help context, the contents when it has none.
    bool ShowContext(int context);
    // Closes the window.
    void Quit();

    // The page shown last (a full path), empty before any.
    QString CurrentPage() const { return m_CurrentPage; }

private:
    bool ShowPage(const QString& path);

    QTextBrowser* m_pBrowser;
    std::string m_HelpFile;
    QString m_CurrentPage;
    bool m_bPlaced = false; // placed on its first showing
};
