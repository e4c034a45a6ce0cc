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

#include <array>
#include <string>

class QObject;
class QWidget;

class TkResourcen {
public:
    static constexpr int kTextCount = SptTable::kRecords;

    // Texts the program cannot work without: the usage text, the title and
    // caption of every message box, the main menus and the file commands,
    // the questions and failures of open and save, and the OK and cancel
    // buttons. A language file of the right form that lacks any of them (an
    // empty file, one of NULs only, one cut at a record's end) would leave
    // the program without a readable word, so the language is refused as if
    // its file were damaged.
    static constexpr std::array kRequiredTextIds = {
        2, 8, 10, 12, 17, 18, 19, 24, 30, 50, 1001, 1002, 1003, 1005, 2000, 3000, 3001,
    };

    // Loads the file of the language in the settings, and Qt's own texts of
    // that language (TQtTranslations). A missing or broken file, or one that
    // lacks a required text, shows the error box and leaves every text empty.
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
    // one loaded; returns whether it did. Qt's own texts follow the language
    // of the texts. A file that cannot serve (missing, broken, lacking a
    // required text) shows the error box once and keeps the language in
    // use: its texts stay and the settings get its number back.
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
    // Reads the file of a language and checks that it holds every required
    // text; on failure error says why, and the table is left empty.
    static bool ReadLanguage(const std::string& path, SptTable& table, std::string& error);
    static void ShowRefusal(const std::string& path, int sprache, const std::string& error);

    SptTable m_table;
    std::string m_fileName;
    bool m_loaded = false;
    int m_nSprache = 0;        // language of the texts loaded; 0 when not known
    std::string m_refusedFile; // refused on the last change; asked about once
};

// The start-up check: the full path of the language file of the settings'
// language when it exists; otherwise shows "language file <name> not found!"
// and returns an empty name.
std::string GetLanguageFileName();
