#pragma once
// Fakes and a fixture for the subscriber page and the programming dialogs:
// the transfer controller's real programming part on a fake serial link
// (the test plays the box by handing it blocks and reads the commands it
// sent), a transfer controller whose modal runs the test answers, a page
// host, pre-answered message boxes, the real English language texts and a
// settings file of the test's own.

#include "PageTestBase.h"
#include "ProgRig.h"
#include "RecordingPageHost.h"
#include "StubTransfer.h"
#include "TDataView.h"
#include "TMoxDocument.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class FakeSubTransfer : public StubTransfer {
public:
    FakeSubTransfer() { linkText = "via COM-Port"; }
    void SetInfoText(const char* text) override { info = text ? text : ""; }
    int ShowModal() override;

    TMoxDocument* doc = nullptr;
    ProgRig* rig = nullptr;
    // What the runs answer, by mode (1 when not given).
    std::map<int, int> results;
    // What the box reports: the free-address count (mode 6) and list (5).
    std::uint16_t kbaCount = 0;
    std::vector<std::uint16_t> kbaList;
    std::vector<std::uint8_t> readImage; // served on a read (mode 2)
    std::function<void(int mode)> duringRun;

    std::vector<int> runs; // the mode of each run
    std::vector<std::string> infos;
    std::string info;
};

using FakeSubHost = RecordingPageHost;

class SubscriberTest : public PageTestBase {
protected:
    SubscriberTest() : PageTestBase("subscriber") {}
    void SetUp() override;
    void TearDown() override;
    int BoxAnswer(const TMsgBox::Request& request) override;

    TMoxDocument& Doc() { return *m_pDoc; }
    ProgRig& Rig() { return m_Rig; }
    QWidget* Owner() const { return m_pOwner.get(); }

    std::vector<std::pair<int, int>> SentCommands() const { return m_Rig.SentCommands(); }
    void ClearSent() { m_Rig.ClearSent(); }

    // Subscribers in the document: number, bus and logical address.
    void SetTln(int i, const char* rnr, std::uint16_t busAdr = 0, std::uint16_t logAdr = 0);
    std::string RnrOf(int i) const;

    void AnswerBox(int textId, int answer) { m_Answers[textId] = answer; }

    template <class T> static T* Find(QWidget* form, const char* name) {
        T* w = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString Text(int id) const { return m_pRes->GetQText(id); }

    ProgRig m_Rig;
    FakeSubTransfer m_Transfer;
    FakeSubHost m_Host;
    std::unique_ptr<TMoxDocument> m_pDoc;
    std::unique_ptr<QWidget> m_pOwner;
    std::map<int, int> m_Answers;
};

// A tagged image of a fresh configuration with the door-interface type.
std::vector<std::uint8_t> ImageWithTypeIT(std::uint8_t typeIT);
