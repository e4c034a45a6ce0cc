#pragma once
// The language-text table: text and hint by id from the ".spt" file of the
// language chosen in the settings, applied to whole forms by the "Tag" of
// their components. Forms carry German design texts; a component whose
// Tag is -1 (or that has no Tag) keeps its design text, and so does one
// whose record holds no text.
//
// Qt has no Tag: a component's Tag is its dynamic property "Tag" (int).
// Some components carry a Tag that means something else (the slot of a
// recent-file entry): SetDataTag marks such a Tag, and the texts pass the
// component by, whatever record its number would name.

#include "SptReader.h"

#include <QString>

#include <string>

class QObject;
class QWidget;

class TkResourcen {
public:
    static constexpr int kTextCount = SptTable::kRecords;

    // Loads the file of the language in the settings, and Qt's own texts of
    // that language (TQtTranslations). A missing or broken file shows the
    // error box and leaves every text empty.
    TkResourcen();
    ~TkResourcen() = default;

    TkResourcen(const TkResourcen&) = delete;
    TkResourcen& operator=(const TkResourcen&) = delete;

    // Text and hint of an id 1..9999 (Windows-1252), or nullptr. The
    // pointer stays valid until the next load or reload.
    const char* GetText(int id) const;
    const char* GetHint(int id) const;

    // The same for Qt: CR (the file's line break) becomes a line feed; an
    // empty string when there is no text.
    QString GetQText(int id) const;
    QString GetQHint(int id) const;

    // Applies texts and hints to the form and every component in it.
    void SetFormTexts(QWidget* form) const;

    // Gives the component a Tag that is not a text id: SetFormTexts never
    // touches its caption or hint.
    static void SetDataTag(QObject* obj, int tag);
    static bool HasDataTag(const QObject* obj);

    // Loads the file of the language now in the settings when it is not the
    // one loaded; returns whether it did. Qt's own texts follow the
    // settings' language either way.
    bool Reload();

    // Full path of the file loaded (or tried last); empty when the language
    // has none.
    const std::string& FileName() const { return m_fileName; }
    bool IsLoaded() const { return m_loaded; }

    // Loads one given file in place of the current texts (tests, tools).
    // Returns false after the error box when it cannot be read.
    bool LoadFile(const std::string& path);

    // File name of a language ("res/ktx_d.spt" ..), empty when it has none.
    static std::string LanguageFileName(int sprache);
    // That name as a full path below the program's folder; empty without one.
    static std::string LanguageFilePath(int sprache);
    // The folder res/ is looked up in: the program's own folder unless set.
    static std::string ProgramDir();
    static void SetProgramDirForTesting(const std::string& dir);

private:
    void Clear();

    SptTable m_table;
    std::string m_fileName;
    bool m_loaded = false;
};

// The start-up check: the full path of the language file of the settings'
// language when it exists; otherwise shows "language file <name> not found!"
// and returns an empty name.
std::string GetLanguageFileName();
