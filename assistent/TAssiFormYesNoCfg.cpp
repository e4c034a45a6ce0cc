#include "TAssiFormYesNoCfg.h"

#include "AssiTextIds.h"
#include "FocusRules.h"
#include "IAssiFrame.h"
#include "MoxQString.h"
#include "TAssiSequence.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TkResourcen.h"

#include <QLabel>
#include <QRadioButton>

#include <array>

namespace {

enum class eDevice : std::uint8_t { None, KMR, RAK, IT, BSM };
enum class eExtra : std::uint8_t { None, VersionMox, VersionKMR, VersionHidden, TlnHeading };

// Room for a firmware version text of the record.
constexpr std::size_t kVersionBuffer = 64;

} // namespace

struct TAssiFormYesNoCfg::Row {
    std::uint8_t state;
    const char* className;
    std::uint16_t flag;
    const char* headingName;
    int headingTag;
    eDevice device;
    eExtra extra;
};

const TAssiFormYesNoCfg::Row* TAssiFormYesNoCfg::RowOf(std::uint8_t state) {
    static const std::array<Row, 7> rows = {{
        {eAssiMoxCfg, "TAssiFormMoxCfg", eAssiFlagMox, "Label2", atxt::kHeadMox, eDevice::None,
         eExtra::VersionMox},
        {eAssiKMRCfg, "TAssiFormKMRCfg", eAssiFlagKMR, "Label2", atxt::kHeadKMR, eDevice::KMR,
         eExtra::VersionKMR},
        {eAssiRAKCfg, "TAssiFormRAKCfg", eAssiFlagRAK, "Label2", atxt::kHeadRAK, eDevice::RAK,
         eExtra::VersionHidden},
        {eAssiITCfg, "TAssiFormITCfg", eAssiFlagIT, "Label2", atxt::kHeadIT, eDevice::IT,
         eExtra::None},
        {eAssiBSMCfg, "TAssiFormBSMCfg", eAssiFlagBSM, "Label2", atxt::kHeadBSM, eDevice::BSM,
         eExtra::None},
        {eAssiTlnCfg, "TAssiFormTlnCfg", eAssiFlagTln, "m_pTlnLabel", atxt::kHeadTln, eDevice::None,
         eExtra::TlnHeading},
        {eAssiSystemCfg, "TAssiFormSystemCfg", eAssiFlagSystem, "Label2", atxt::kHeadSystem,
         eDevice::None, eExtra::None},
    }};
    for (const Row& row : rows)
        if (row.state == state)
            return &row;
    return nullptr;
}

bool TAssiFormYesNoCfg::HasPage(std::uint8_t state) {
    return RowOf(state) != nullptr;
}

TAssiFormYesNoCfg::TAssiFormYesNoCfg(QWidget* owner, TMoxDocument* doc, TkResourcen* res,
                                     IAssiFrame* frame, std::uint8_t state)
    : TFormAssiKonfig(owner, doc, res, frame), m_pRow(RowOf(state)) {
    MOX_INVARIANT(m_pRow);
    setObjectName(QString::fromLatin1(m_pRow->className));
    m_pHeading = AddLabel(m_pRow->headingName, m_pRow->headingTag, true);
    if (m_pRow->extra == eExtra::VersionMox || m_pRow->extra == eExtra::VersionKMR ||
        m_pRow->extra == eExtra::VersionHidden) {
        AddLabel("Label1", atxt::kVersion);
        m_pLabelVersion = AddLabel("m_pLabelVersion", -1);
        m_pLabelVersion->setVisible(m_pRow->extra != eExtra::VersionHidden);
    }
    m_pRadioSet = new QRadioButton(QStringLiteral("programmieren"));
    m_pRadioSet->setObjectName(QStringLiteral("m_pRadioSet"));
    m_pRadioSet->setProperty("Tag", atxt::kProgram);
    m_pRadioSet->setChecked(true);
    AddWidget(m_pRadioSet);
    m_pRadioNoSet = new QRadioButton(QStringLiteral("nicht programmieren"));
    m_pRadioNoSet->setObjectName(QStringLiteral("m_pRadioNoSet"));
    m_pRadioNoSet->setProperty("Tag", atxt::kDontProgram);
    AddWidget(m_pRadioNoSet);
    focusrules::TabStopOnCheckedRadio({m_pRadioSet, m_pRadioNoSet});
}

bool TAssiFormYesNoCfg::DevicePresent() const {
    if (!m_pDoc)
        return false;
    switch (m_pRow->device) {
    case eDevice::KMR:
        return m_pDoc->GetTypeKMR() != 0;
    case eDevice::RAK:
        return m_pDoc->GetTypeRAK() != 0;
    case eDevice::IT:
        return m_pDoc->GetTypeIT() != 0;
    case eDevice::BSM:
        return m_pDoc->GetTypeBSM() != 0;
    case eDevice::None:
        break;
    }
    return true;
}

void TAssiFormYesNoCfg::OnOpen() {
    if (m_pRow->device != eDevice::None)
        m_pRadioSet->setEnabled(DevicePresent());
    if (m_pFrame && m_pFrame->GetFlag(m_pRow->flag))
        m_pRadioSet->setChecked(true);
    else
        m_pRadioNoSet->setChecked(true);
    // The choice has the focus: a Space there changes nothing.
    (m_pRadioSet->isChecked() ? m_pRadioSet : m_pRadioNoSet)->setFocus();

    if (!m_pDoc)
        return;
    char version[kVersionBuffer] = {};
    bool haveVersion = false;
    switch (m_pRow->extra) {
    case eExtra::VersionMox:
        haveVersion = m_pDoc->GetVersionMox(version, sizeof version);
        break;
    case eExtra::VersionKMR:
        haveVersion = m_pDoc->GetVersionKMR(version, sizeof version);
        break;
    case eExtra::TlnHeading:
        if (m_pRes)
            m_pHeading->setText(
                m_pRes->GetQText(m_pDoc->GetTypeIT() == 1 ? atxt::kHeadTlnIT1 : atxt::kHeadTln));
        return;
    default:
        return;
    }
    version[sizeof version - 1] = '\0';
    m_pLabelVersion->setText(haveVersion ? MoxToQString(version) : QString());
}

void TAssiFormYesNoCfg::OnSave() {
    if (m_pFrame)
        m_pFrame->SetFlag(m_pRow->flag, m_pRadioSet->isChecked());
}
