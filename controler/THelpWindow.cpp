#include "THelpWindow.h"

#include "FocusRules.h"
#include "TkResourcen.h"

#include <QApplication>

#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <filesystem>

namespace {

const char* LanguageEnding(int sprache) {
    switch (sprache) {
    case 1:
        return "_d";
    case 2:
        return "_uk";
    case 3:
        return "_f";
    case 4:
        return "_i";
    case 5:
        return "_dk";
    case 6:
        return "_nl";
    default:
        return nullptr;
    }
}

constexpr char kContentsPage[] = "index.html";

} // namespace

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("m_pHelpWindow"));
    resize(640, 520);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pBrowser = new QTextBrowser(this);
    m_pBrowser->setObjectName(QStringLiteral("m_pHelpBrowser"));
    m_pBrowser->setOpenExternalLinks(true);
    layout->addWidget(m_pBrowser);
}

std::string THelpWindow::HelpFileName(int sprache, int mode) {
    const char* ending = LanguageEnding(sprache);
    if (!ending)
        return {};
    return std::string("res/help/") + (mode == 2 ? "ektx" : "kktx") + ending;
}

std::string THelpWindow::HelpFilePath(int sprache, int mode) {
    const std::string name = HelpFileName(sprache, mode);
    if (name.empty())
        return {};
    const std::filesystem::path dir =
        (std::filesystem::path(TkResourcen::ProgramDir()) / name).lexically_normal();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(dir / kContentsPage, ec))
        return {};
    return dir.string();
}

bool THelpWindow::ShowPage(const QString& path) {
    if (!QFileInfo(path).isFile())
        return false;
    m_CurrentPage = path;
    m_pBrowser->setSource(QUrl::fromLocalFile(path));
    if (!m_bPlaced) {
        // Over the window the help was asked from, inside the screen.
        m_bPlaced = true;
        const QWidget* over = QApplication::activeWindow();
        if (!over || over == this)
            over = parentWidget();
        focusrules::FitOnScreen(this, over);
    }
    show();
    raise();
    return true;
}

bool THelpWindow::ShowContents() {
    if (m_HelpFile.empty())
        return false;
    return ShowPage(QDir(QString::fromStdString(m_HelpFile)).filePath(kContentsPage));
}

bool THelpWindow::ShowContext(int context) {
    if (m_HelpFile.empty())
        return false;
    const QDir dir(QString::fromStdString(m_HelpFile));
    if (context > 0 && ShowPage(dir.filePath(QString::number(context) + QStringLiteral(".html"))))
        return true;
    return ShowContents();
}

void THelpWindow::Quit() {
    close();
}
