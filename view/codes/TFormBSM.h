#pragma once
// TFormBSM: binds the six relay codes "#51".."#56" to relays of a bus
// switch module. The module in programming reports its address and relay;
// the assign button binds the selected code to it.

#include "TFormProgCode.h"

#include <array>

class TFormBSM : public TFormProgCode {
    Q_OBJECT

public:
    TFormBSM(QWidget* owner, IProgPageHost* host, bool readFlag, IMainTransfer* transfer,
             const TNodeData* holder, TkResourcen* res);
    ~TFormBSM() override;

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
    bool NeedsBSM() const override { return true; }
    int GetHostCaptionId() const override;
    void OnZuordnen() override;

protected:
    void OnOpen(TMessage& message) override;
    void OnSave(TMessage& message) override;
    void OnRestore(TMessage& message) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Entry {
        std::uint16_t adr = 0;
        std::uint8_t relay = 0;
    };
    static constexpr int kEntries = 6;
    std::array<Entry, kEntries> m_Entries{};
};
