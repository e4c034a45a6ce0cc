#include "TkResourcen.h"

#include "DbgOut.h"
#include "ErrorBox.h"
#include "MoxQString.h"
#include "PermSettings.h"
#include "TQtTranslations.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QVariant>
#include <QWidget>

#include <filesystem>
#include <mutex>
#include <system_error>

namespace {

std::mutex g_dirMutex;
std::string g_programDir; // guarded by g_dirMutex; empty: the executable's folder

QString ToDisplay(const char* text) {
    if (!text)
        return {};
    QString s = MoxToQString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

// Marks a Tag that holds data, not a text id.
constexpr char kDataTagProperty[] = "TagIsData";

// The component's Tag, or -1 when it has none.
int TagOf(const QObject* obj) {
    const QVariant v = obj->property("Tag");
    if (!v.isValid())
        return -1;
    bool ok = false;
    const int tag = v.toInt(&ok);
    return ok ? tag : -1;
}

// A page of a tab widget sits in the tab widget's internal stack.
QTabWidget* TabWidgetOf(QWidget* page) {
    QWidget* stack = page->parentWidget();
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    return tabs && tabs->indexOf(page) >= 0 ? tabs : nullptr;
}

void ApplyCaption(QObject* obj, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(obj)) {
        action->setText(text);
    } else if (auto* menu = qobject_cast<QMenu*>(obj)) {
        menu->setTitle(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(obj)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(obj)) {
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(obj)) {
        group->setTitle(text);
    } else if (auto* widget = qobject_cast<QWidget*>(obj)) {
        if (QTabWidget* tabs = TabWidgetOf(widget))
            tabs->setTabText(tabs->indexOf(widget), text);
    }
}

void ApplyHint(QObject* obj, const QString& hint) {
    if (auto* action = qobject_cast<QAction*>(obj))
        action->setToolTip(hint);
    else if (auto* widget = qobject_cast<QWidget*>(obj))
        widget->setToolTip(hint);
}

} // namespace

TkResourcen::TkResourcen() {
    const int sprache = GetPermSprache();
    // Qt's own buttons and dialogs speak the language of the texts.
    TQtTranslations::Load(sprache);
    const std::string path = LanguageFilePath(sprache);
    m_fileName = path;
    std::string error;
    if (!ReadLanguage(path, m_table, error)) {
        ShowRefusal(path, sprache, error);
        return;
    }
    m_nSprache = sprache;
    m_loaded = true;
}

bool TkResourcen::ReadLanguage(const std::string& path, SptTable& table, std::string& error) {
    if (path.empty()) {
        table.Clear();
        error = "no language file";
        return false;
    }
    if (!SptReader::ReadFile(path, table, error))
        return false;
    for (const int id : kRequiredTextIds) {
        if (!table.Text(id)) {
            table.Clear();
            error = "the file lacks texts the program cannot work without (text " +
                    std::to_string(id) + " is the first missing)";
            return false;
        }
    }
    return true;
}

void TkResourcen::ShowRefusal(const std::string& path, int sprache, const std::string& error) {
    DbgOut(eDbgAlways, "<TkResourcen> %s: %s", path.empty() ? "unknown.spt" : path.c_str(),
           error.c_str());
    if (path.empty())
        ErrorBox::Show("Error",
                       "Failed to open language file unknown.spt\nThe language (" +
                           std::to_string(sprache) + ") has no language file.",
                       ErrorBox::Buttons::OkCancel);
    else
        ErrorBox::Show("Error", "Failed to open language file " + path + "\n" + error,
                       ErrorBox::Buttons::OkCancel);
}

void TkResourcen::Clear() {
    m_table.Clear();
    m_loaded = false;
}

bool TkResourcen::LoadFile(const std::string& path) {
    Clear();
    m_fileName = path;
    m_nSprache = 0;
    std::string error;
    if (!SptReader::ReadFile(path, m_table, error)) {
        ShowRefusal(path, 0, error);
        return false;
    }
    m_loaded = true;
    return true;
}

const char* TkResourcen::GetText(int id) const {
    return id >= 1 && id < kTextCount ? m_table.Text(id) : nullptr;
}

const char* TkResourcen::GetHint(int id) const {
    return id >= 1 && id < kTextCount ? m_table.Hint(id) : nullptr;
}

QString TkResourcen::GetQText(int id) const {
    return ToDisplay(GetText(id));
}

QString TkResourcen::GetQHint(int id) const {
    return ToDisplay(GetHint(id));
}

void TkResourcen::SetFormTexts(QWidget* form) const {
    if (!form)
        return;
    const int formTag = TagOf(form);
    if (const char* text = GetText(formTag))
        form->setWindowTitle(ToDisplay(text));
    if (const char* hint = GetHint(formTag))
        form->setToolTip(ToDisplay(hint));

    const QList<QObject*> components = form->findChildren<QObject*>();
    for (QObject* obj : components) {
        if (HasDataTag(obj))
            continue;
        const int tag = TagOf(obj);
        // Tag 0 takes record 0, which GetText does not answer.
        if (tag < 0 || tag >= kTextCount)
            continue;
        if (const char* hint = m_table.Hint(tag))
            ApplyHint(obj, ToDisplay(hint));
        if (const char* text = m_table.Text(tag))
            ApplyCaption(obj, ToDisplay(text));
    }
}

void TkResourcen::SetDataTag(QObject* obj, int tag) {
    obj->setProperty("Tag", tag);
    obj->setProperty(kDataTagProperty, true);
}

bool TkResourcen::HasDataTag(const QObject* obj) {
    return obj->property(kDataTagProperty).toBool();
}

bool TkResourcen::Reload() {
    const int sprache = GetPermSprache();
    const std::string path = LanguageFilePath(sprache);
    if (path == m_fileName) {
        TQtTranslations::Load(sprache);
        // Back at the language in use: a later change to a refused one is a
        // new attempt and is told again.
        m_refusedFile.clear();
        return false;
    }
    SptTable table;
    std::string error;
    if (!ReadLanguage(path, table, error)) {
        // The pages store their language on every save; the box comes once
        // for the change, not on each save that repeats it.
        if (path != m_refusedFile)
            ShowRefusal(path, sprache, error);
        m_refusedFile = path;
        // Without a usable file the program stays in the language it
        // speaks, also at its next start.
        if (m_loaded && m_nSprache != 0)
            SetPermSprache(m_nSprache);
        return false;
    }
    m_table = std::move(table);
    m_fileName = path;
    m_nSprache = sprache;
    m_loaded = true;
    m_refusedFile.clear();
    TQtTranslations::Load(sprache);
    return true;
}

std::string TkResourcen::LanguageFileName(int sprache) {
    switch (sprache) {
    case 1:
        return "res/ktx_d.spt";
    case 2:
        return "res/ktx_uk.spt";
    case 3:
        return "res/ktx_f.spt";
    case 4:
        return "res/ktx_i.spt";
    case 5:
        return "res/ktx_dk.spt";
    case 6:
        return "res/ktx_nl.spt";
    default:
        return {};
    }
}

std::string TkResourcen::LanguageFilePath(int sprache) {
    const std::string name = LanguageFileName(sprache);
    if (name.empty())
        return {};
    return (std::filesystem::path(ProgramDir()) / name).lexically_normal().string();
}

std::string TkResourcen::ProgramDir() {
    {
        std::lock_guard lock(g_dirMutex);
        if (!g_programDir.empty())
            return g_programDir;
    }
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}

void TkResourcen::SetProgramDirForTesting(const std::string& dir) {
    std::lock_guard lock(g_dirMutex);
    g_programDir = dir;
}

std::string GetLanguageFileName() {
    const int sprache = GetPermSprache();
    const std::string path = TkResourcen::LanguageFilePath(sprache);
    std::error_code ec;
    if (!path.empty() && std::filesystem::is_regular_file(path, ec))
        return path;
    ErrorBox::Show("Error",
                   "language file <" + (path.empty() ? std::string("unknown.spt") : path) +
                       "> not found!",
                   ErrorBox::Buttons::Ok);
    return {};
}
