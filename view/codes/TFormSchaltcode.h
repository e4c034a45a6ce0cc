#pragma once
// TFormSchaltcode: binds the six switching codes "#71".."#76" to call keys
// of a bus door loudspeaker unit. The unit in programming reports its
// address and whether it has video; the assign button binds the selected
// code to it.

#include "TFormProgCode.h"

#include <array>

class TFormSchaltcode : public TFormProgCode {
    Q_OBJECT

public:
    TFormSchaltcode(QWidget* owner, IProgPageHost* host, bool readFlag, IMainTransfer* transfer,
                    const TNodeData* holder, TkResourcen* res);
    ~TFormSchaltcode() override;

    void SetAktAdr() override;
    void SetEntry(int idx, std::uint16_t adr, const char* text, std::uint8_t relay,
                  std::uint8_t video) override;
    void GetEntry(int idx, std::uint16_t& adr, std::string& text, std::uint8_t& relay,
                  std::uint8_t& video) const override;
    int GetRowCount() const override;
    int GetColCount() const override { return 2; }
    int GetProgStateNeeded() const override;
    int GetHeaderTextId(int column) const override;
    std::string GetRowLabel(int idx) const override;
    int GetTextId() const override;
    void RefreshToDo() override;
    bool NeedsBSM() const override { return false; }
    int GetHostCaptionId() const override;
    void OnZuordnen() override;

    bool IsConnectTimerActive() const;

protected:
    void OnOpen(TMessage& message) override;
    void OnSave(TMessage& message) override;
    void OnRestore(TMessage& message) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Entry {
        std::uint16_t adr = 0;
        std::uint8_t video = 0;
    };
    static constexpr int kEntries = 6;
    std::array<Entry, kEntries> m_Entries{};
    QTimer* m_pConnectTimer = nullptr;
};
