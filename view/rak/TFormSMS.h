#pragma once
// TFormSMS: the table of the ten SMS providers (node kind 7, and the page
// the page-hosting dialog shows as its page 7): provider name, call number
// of the provider's SMS service and the protocol, which is chosen from a
// list the page lays over the protocol cell.
//
// Row 0 of the grid holds the column titles and column 0 the provider
// numbers; row i + 1 shows provider i.

#include "MoxDaten.h"
#include "TDataView.h"

#include <cstdint>

class QComboBox;
class QTableWidget;
class QTableWidgetItem;

class TFormSMS : public TDataView {
    Q_OBJECT

public:
    static constexpr int kProviders = MOX_MAX_SMS;
    static constexpr int kColName = 1;
    static constexpr int kColRnr = 2;
    static constexpr int kColProtokoll = 3;
    // Field widths of the record.
    static constexpr int kMaxName = MOX_PROVIDER_SIZE - 1;
    static constexpr int kMaxRnr = MOX_SMSRNR_SIZE - 1;

    TFormSMS(QWidget* owner, const TNodeData* holder, TkResourcen* res);
    ~TFormSMS() override;

    // The rules for a cell the user changed: a name is cut to 15
    // characters, a number keeps its digits only, at most 24.
    static QString CleanName(const QString& text);
    static QString CleanRnr(const QString& text);

protected:
    void OnSave(TMessage& message) override;
    void OnOpen(TMessage& message) override;
    void OnRestore(TMessage& message) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnSetEditText(QTableWidgetItem* item);
    void OnSelectCell(int row, int column, int prevRow, int prevColumn);
    // The list's choice into the protocol cell of the row.
    void CommitProtocolList(int row);
    void SizeProtocolList();
    QString ProtocolText(std::uint8_t protokoll) const;
    // 0, 1, 2 for the texts 80, 506, 507; -1 for any other text.
    int ProtocolOf(const QString& text) const;
    QString Cell(int column, int row) const;
    void SetCell(int column, int row, const QString& text);
    QString Text(int id) const;

    class CellDelegate;

    QTableWidget* m_pProvGrid = nullptr;
    CellDelegate* m_pDelegate = nullptr; // owned by the grid
    QComboBox* m_pProtList = nullptr;
    bool m_bFilling = false;
};
