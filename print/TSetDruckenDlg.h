#pragma once
// TSetDruckenDlg: the print dialog. It prints or previews the part of the
// configuration the selected tree node shows, or everything, and runs the
// printer setup. It owns one instance of every report form for its own
// lifetime; the reports read the document when they are prepared.
//
// Print closes the dialog (result 1); preview and printer setup keep it
// open; cancel closes it with result 2. GUI thread only.

#include "TCompositeReport.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <vector>

class IPrintJob;
class QRadioButton;
class TkResourcen;
class TMoxDocument;
class TPrintBasis;
class TPrintBSM;
class TPrintEtagenruf;
class TPrintGeraete;
class TPrintITKonf;
class TPrintITMfr;
class TPrintITSchaltcode;
class TPrintKMR;
class TPrintMoxKonf;
class TPrintNoFunction;
class TPrintPG;
class TPrintRAKAG;
class TPrintRAKEG;
class TPrintSchaltuhr;
class TPrintSensor;
class TPrintSMS;
class TPrintSperrRnr;
class TPrintSystem;
class TPrintTln;
class TReport;

namespace Ui {
class SetDruckenDlg;
}

class TSetDruckenDlg : public QDialog {
    Q_OBJECT

public:
    // mode: the program mode (2 expert: the SMS and system reports belong
    // to everything).
    TSetDruckenDlg(QWidget* owner, std::uint8_t kind, TMoxDocument* doc, TkResourcen* res,
                   int mode);
    ~TSetDruckenDlg() override;

    // Shows the dialog modally and returns its result.
    static int Run(QWidget* owner, std::uint8_t kind, TMoxDocument* doc, TkResourcen* res,
                   int mode);

    void OnDruck();
    void OnVorschau();
    void OnSettings();
    void OnCancel();
    void OnClosePrintHlpDlg();
    void OnAddReports(TCompositeReport& composite);

    // Prints or previews what the node kind selects.
    void Select(std::uint8_t kind, bool preview);

    // Whether a node kind may print its own part (else only everything).
    static bool HasCurrentPart(std::uint8_t kind);
    // The job a node kind prints: one report, the inputs' composite or the
    // dialog's composite.
    IPrintJob* JobOf(std::uint8_t kind);
    TCompositeReport* GetCompositeReport() const { return m_pCompositeReport.get(); }

private:
    // The multifunction input's report by the input's mode.
    TReport* MfeReport() const;
    std::uint8_t SelectedKind() const;
    void AddRAK(TCompositeReport& composite);
    // The door interface's reports: its inputs, its SMS providers (expert
    // mode), its codes (types with barred numbers) and its settings.
    void AddIT(TCompositeReport& composite, bool expert, std::uint8_t typeIT);

    std::unique_ptr<Ui::SetDruckenDlg> ui;
    TkResourcen* m_pRes;
    TMoxDocument* m_pDoc;
    std::uint8_t m_nKind;       // of the tree node the dialog was opened for
    std::uint8_t m_nSelectKind; // of the job being prepared
    int m_nMode;
    std::unique_ptr<TCompositeReport> m_pCompositeReport;

    std::vector<std::unique_ptr<TPrintBasis>> m_Reports;
    TPrintGeraete* m_pPrintGeraete = nullptr;
    TPrintBSM* m_pPrintBSM = nullptr;
    TPrintKMR* m_pPrintKMR = nullptr;
    TPrintITKonf* m_pPrintITKonf = nullptr;
    TPrintITSchaltcode* m_pPrintITSchaltcode = nullptr;
    TPrintNoFunction* m_pPrintNoFunction = nullptr;
    TPrintSensor* m_pPrintSensor = nullptr;
    TPrintSchaltuhr* m_pPrintSchaltuhr = nullptr;
    TPrintEtagenruf* m_pPrintEtagenruf = nullptr;
    TPrintITMfr* m_pPrintITMfr = nullptr;
    TPrintMoxKonf* m_pPrintMoxKonf = nullptr;
    TPrintSMS* m_pPrintSMS = nullptr;
    TPrintSperrRnr* m_pPrintSperrRnr = nullptr;
    TPrintRAKEG* m_pPrintRAKEG = nullptr;
    TPrintRAKAG* m_pPrintRAKAG = nullptr;
    TPrintSystem* m_pPrintSystem = nullptr;
    TPrintPG* m_pPrintPG = nullptr;
    TPrintTln* m_pPrintTln = nullptr;
};
