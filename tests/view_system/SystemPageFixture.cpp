#include "SystemPageFixture.h"

#include "MoxCommandLine.h"
#include "MoxDaten.h"
#include "SystemForm.h"
#include "WindowMessages.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLocale>
#include <QVBoxLayout>

using mox::platform::MessageReceiver;
using mox::platform::WindowMessage;

void SystemPageTest::ChooseSettings() {
    // The level fields follow the user's decimal separator: fixed here.
    QLocale::setDefault(QLocale::c());
}

void SystemPageTest::SetUp() {
    PageTestBase::SetUp();
    if (HasFatalFailure())
        return;
    m_pDoc = std::make_unique<TMoxDocument>(&m_Host, m_pRes.get(), nullptr);
    m_Host.doc = m_pDoc.get();
    SetViewHost(&m_Host);

    m_pWindow = std::make_unique<QWidget>();
    m_pWindow->resize(800, 600);
    new MessageReceiver(
        [this](const WindowMessage& m) {
            m_WindowMessages.push_back(m.id);
            return std::intptr_t{0};
        },
        m_pWindow.get());
    auto* layout = new QVBoxLayout(m_pWindow.get());
    m_pPanel = new QWidget(m_pWindow.get());
    m_pPanel->setObjectName(QStringLiteral("m_pViewPanel"));
    layout->addWidget(m_pPanel);
    SystemForm::SetProgramModeForTesting(eModeExpert);
}

void SystemPageTest::TearDown() {
    DropPage();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_pWindow.reset();
    SetViewHost(nullptr);
    m_pDoc.reset();
    SystemForm::SetProgramModeForTesting(0);
    PageTestBase::TearDown();
    QLocale::setDefault(QLocale::system());
}

void SystemPageTest::DropPage() {
    TDataView* old = m_pPage;
    m_pPage = nullptr;
    TDataView::Destroy(old);
}

std::vector<std::uint8_t> SystemPageTest::Record() const {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(m_pDoc->GetDaten());
    return {bytes, bytes + sizeof(MoxDaten)};
}

void LeaveField(QWidget* field) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &out);
}

void FocusTakingBoxes::Before() {
    // A box asked for from inside another one's answer takes nothing more.
    if (m_nDepth++ > 0)
        return;
    m_pField = QApplication::focusWidget();
    if (m_pField) {
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(m_pField, &out);
    }
}

void FocusTakingBoxes::After() {
    if (--m_nDepth > 0)
        return;
    if (m_pField) {
        QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(m_pField, &in);
    }
    m_pField = nullptr;
}
