#include "TAboutDlg.h"

#include "ui_TAboutDlg.h"

#include "TWebPage.h"
#include "TkResourcen.h"

#include <QEvent>
#include <QPainter>
#include <QTimer>

#include <cmath>
#include <numbers>

namespace {

constexpr int kTextProductName = 2000;
constexpr int kTextVersion = 2001;
constexpr int kTextRights = 2002;
constexpr int kTextCaption = 2003;

// One turn of the animation in 64 frames of 40 ms.
constexpr int kFrames = 64;
constexpr int kFrameMs = 40;

} // namespace

TAboutDlg::TAboutDlg(QWidget* owner, TkResourcen* res, int mode, const TVersionInfo& info)
    : QDialog(owner), ui(std::make_unique<Ui::AboutDlg>()) {
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    if (res) {
        res->SetFormTexts(this);
        if (res->GetText(kTextCaption))
            setWindowTitle(res->GetQText(kTextCaption));
        const std::pair<QLabel*, int> labels[] = {{ui->m_pProductName, kTextProductName},
                                                  {ui->m_pVersion, kTextVersion},
                                                  {ui->m_pCopyright, kTextRights}};
        for (const auto& [label, id] : labels)
            if (res->GetText(id))
                label->setText(res->GetQText(id));
    }

    if (info.present && !info.fileVersion.empty()) {
        ui->m_pVersionsInfo->setText(QString::fromStdString(VersionText(info.fileVersion)));
        ui->m_szProductName->setText(
            QString::fromStdString(ProductText(info.productName, info.fileFlags, mode)));
        QPalette pal = ui->m_szProductName->palette();
        pal.setColor(QPalette::WindowText, Qt::red);
        ui->m_szProductName->setPalette(pal);
    }

    ui->Label1->installEventFilter(this);
    ui->m_pOKButton->setFocus();

    m_pAnimationTimer = new QTimer(this);
    m_pAnimationTimer->setInterval(kFrameMs);
    connect(m_pAnimationTimer, &QTimer::timeout, this, &TAboutDlg::NextFrame);
    m_nFrame = 0;
    DrawFrame();
    m_pAnimationTimer->start();
}

TAboutDlg::~TAboutDlg() = default;

std::string TAboutDlg::BuildOf(const std::string& fileVersion) {
    const std::size_t dot = fileVersion.rfind('.');
    return dot == std::string::npos ? fileVersion : fileVersion.substr(dot + 1);
}

std::string TAboutDlg::VersionText(const std::string& fileVersion) {
    return fileVersion + " (Build " + BuildOf(fileVersion) + ")";
}

std::string TAboutDlg::BuildKindText(std::uint32_t flags) {
    std::string kind;
    if (flags & eVerDebug)
        kind += " -debug";
    if (flags & eVerInfoInferred)
        kind += " -info";
    if (flags & eVerPatched)
        kind += " -patched";
    if (flags & eVerPreRelease)
        kind += " -prerelease";
    if (flags & eVerPrivateBuild)
        kind += " -private build";
    if (flags & eVerSpecialBuild)
        kind += " -special build";
    return kind.empty() ? std::string(" released") : kind;
}

std::string TAboutDlg::ProductText(const std::string& productName, std::uint32_t flags, int mode) {
    std::string text = productName + BuildKindText(flags) + " version";
    if (mode == 2)
        text += " for experts";
    return text;
}

bool TAboutDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->Label1 && event->type() == QEvent::MouseButtonRelease) {
        Button1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutDlg::Button1Click() {
    TWebPage::Open();
}

void TAboutDlg::NextFrame() {
    m_nFrame = (m_nFrame + 1) % kFrames;
    DrawFrame();
}

void TAboutDlg::DrawFrame() {
    const int size = 64;
    QPixmap pix(size, size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(size / 2.0, size / 2.0);
    // A ring of eight dots, one of them lit, turning once in 64 frames.
    const double turn = 2.0 * std::numbers::pi * m_nFrame / kFrames;
    for (int i = 0; i < 8; ++i) {
        const double a = turn + i * std::numbers::pi / 4.0;
        const QPointF c(std::cos(a) * 22.0, std::sin(a) * 22.0);
        p.setPen(Qt::NoPen);
        p.setBrush(i == 0 ? QColor(0x2a, 0x5d, 0xa8) : QColor(0xb8, 0xc8, 0xe0));
        p.drawEllipse(c, i == 0 ? 6.0 : 4.0, i == 0 ? 6.0 : 4.0);
    }
    ui->m_pAnimation->setPixmap(pix);
}
