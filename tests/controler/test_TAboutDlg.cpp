// The about box: texts by mode, the version line from the version resource,
// the design texts without one, the link to the maker's page.

#include "TAboutDlg.h"

#include "MainWindowFixture.h"
#include "TWebPage.h"
#include "TkResourcen.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace {

QString LabelText(const QDialog& dlg, const char* name) {
    auto* label = dlg.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

class AboutBox : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        res = std::make_unique<TkResourcen>();
    }
    std::unique_ptr<TkResourcen> res;
};

TEST_F(AboutBox, StandardModeTexts) {
    TVersionInfo info{true, "mox", "1.1.0.697", 0};
    TAboutDlg dlg(nullptr, res.get(), 1, info);
    EXPECT_EQ(dlg.windowTitle(), res->GetQText(2003));
    EXPECT_EQ(LabelText(dlg, "m_pProductName"), res->GetQText(2000));
    EXPECT_EQ(LabelText(dlg, "m_pVersion"), res->GetQText(2001));
    EXPECT_EQ(LabelText(dlg, "m_pCopyright"), res->GetQText(2002));
    EXPECT_EQ(LabelText(dlg, "m_pVersionsInfo"), QStringLiteral("1.1.0.697 (Build 697)"));
    EXPECT_EQ(LabelText(dlg, "m_szProductName"), QStringLiteral("mox released version"));
    EXPECT_EQ(dlg.findChild<QPushButton*>(QStringLiteral("m_pOKButton"))->text(),
              res->GetQText(3000));
}

TEST_F(AboutBox, ExpertModeSaysSo) {
    TVersionInfo info{true, "mox", "2.0.0.5", eVerDebug};
    TAboutDlg dlg(nullptr, res.get(), 2, info);
    EXPECT_EQ(LabelText(dlg, "m_szProductName"), QStringLiteral("mox -debug version for experts"));
    const QColor colour = dlg.findChild<QLabel*>(QStringLiteral("m_szProductName"))
                              ->palette()
                              .color(QPalette::WindowText);
    EXPECT_EQ(colour, QColor(Qt::red));
}

TEST_F(AboutBox, WithoutVersionResourceTheDesignTextsStay) {
    TAboutDlg dlg(nullptr, res.get(), 2, TVersionInfo{});
    EXPECT_EQ(LabelText(dlg, "m_pVersionsInfo"), QStringLiteral("1.0"));
    EXPECT_EQ(LabelText(dlg, "m_szProductName"), QStringLiteral("mox"));
}

TEST_F(AboutBox, TheProgramsOwnVersionHasItsBuild) {
    TAboutDlg dlg(nullptr, res.get(), 1);
    const TVersionInfo own = TVersionInfo::OfProgram();
    EXPECT_EQ(LabelText(dlg, "m_pVersionsInfo").toStdString(),
              TAboutDlg::VersionText(own.fileVersion));
    EXPECT_EQ(own.productName, "mox");
}

TEST_F(AboutBox, LinkOpensTheMakersPage) {
    QString opened;
    TWebPage::SetHandlerForTesting([&opened](const QString& a) { opened = a; });
    TAboutDlg dlg(nullptr, res.get(), 1);
    auto* link = dlg.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(link, &release);
    TWebPage::SetHandlerForTesting({});
    EXPECT_EQ(opened, TWebPage::Address());
}

} // namespace
