#pragma once
// What the firmware group of the transfer dialog shows, as plain values: the
// dialog's form renders it whole whenever the download changes it. Texts are
// either literal (a file name, a header text: Windows-1252 bytes) or a
// language text by id with the numbers the form puts in through the safe
// substitution; nothing here is ever used as a format.

#include <cstdint>
#include <string>
#include <vector>

struct TViewText {
    int textId = 0;                    // language text; 0: the literal text
    std::string text;                  // literal text when textId is 0
    std::vector<std::int64_t> numbers; // for the language text's placeholders

    static TViewText Literal(std::string s) { return TViewText{0, std::move(s), {}}; }
    static TViewText Lang(int id, std::vector<std::int64_t> nums = {}) {
        return TViewText{id, {}, std::move(nums)};
    }
    friend bool operator==(const TViewText&, const TViewText&) = default;
};

// The four labels of one header: the file's, the box's or the camera's.
struct TFWHeaderLabels {
    TViewText version, date, time, device;
    friend bool operator==(const TFWHeaderLabels&, const TFWHeaderLabels&) = default;
};

struct TFirmwareGroup {
    // The dialog is in its firmware layout (group shown, progress panel
    // hidden, information line and cancel button below the group).
    bool visible = false;
    std::string caption; // the dialog's caption: the kept file name
    std::string datei;   // m_pDatei: the kept file name
    TFWHeaderLabels file, ktx, kmr;
    TViewText fwText;      // m_pFWText: status line
    std::string zeit;      // m_pZeit: whole seconds of the block writing
    std::string durchsatz; // m_pDurchsatz: bytes per second
    bool dateBtnEnabled = false;
    bool downloadBtnEnabled = false;
    int progressMin = 0, progressMax = 100, progressPos = 0, progressStep = 1;
};
