// The device header of the device folders: type text by the document's
// device type, the version line for the box and the camera only.

#include "ViewTestSupport.h"

#include "SptReader.h"
#include "TDataView.h"
#include "TNodeData.h"
#include "ViewTextIds.h"

#include <QLabel>

namespace {

struct HeaderRow {
    const char* name;
    std::uint8_t kind;
    std::uint8_t typeIT;
    std::uint8_t typeKMR;
    std::uint8_t typeRAK;
    std::uint8_t typeBSM;
    int textId; // 0: no header
    bool version;
};

void PrintTo(const HeaderRow& r, std::ostream* os) {
    *os << r.name;
}

class DeviceHeader : public PageHostTest, public testing::WithParamInterface<HeaderRow> {};

QLabel* Label(TDataView* page, const char* name) {
    return page->findChild<QLabel*>(QString::fromLatin1(name));
}

TEST_P(DeviceHeader, Shows) {
    const HeaderRow& r = GetParam();
    doc->SetTypeIT(r.typeIT);
    doc->SetTypeKMR(r.typeKMR);
    doc->SetTypeRAK(r.typeRAK);
    doc->SetTypeBSM(r.typeBSM);
    TNodeData holder(r.kind);
    TDataView* page = TDataView::Create<TDataView>(host.get(), &holder, res.get());
    EXPECT_EQ(!Label(page, "m_pLabelTypTxt")->isHidden(), r.textId != 0);
    EXPECT_EQ(!Label(page, "m_pLabelTyp")->isHidden(), r.textId != 0);
    if (r.textId != 0) {
        EXPECT_EQ(Label(page, "m_pLabelTyp")->text(), res->GetQText(r.textId));
        EXPECT_EQ(Label(page, "m_pLabelTypTxt")->text(), res->GetQText(35));
    }
    EXPECT_EQ(!Label(page, "m_pLabelVersionTxt")->isHidden(), r.version);
    EXPECT_EQ(!Label(page, "m_pLabelVersion")->isHidden(), r.version);
    if (r.version) {
        EXPECT_EQ(Label(page, "m_pLabelVersionTxt")->text(), res->GetQText(36));
    }
    TDataView::Destroy(page);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DeviceHeader,
    testing::Values(HeaderRow{"Box", eNodeMox, 1, 0, 0, 0, 374, true},
                    HeaderRow{"CameraPresent", eNodeKMR, 1, 1, 0, 0, 233, true},
                    HeaderRow{"CameraAbsent", eNodeKMR, 1, 0, 0, 0, 94, true},
                    HeaderRow{"ControllerPresent", eNodeRAK, 1, 0, 1, 0, 368, false},
                    HeaderRow{"ControllerAbsent", eNodeRAK, 1, 0, 0, 0, 94, false},
                    HeaderRow{"DoorType1", eNodeIT, 1, 0, 0, 0, 365, false},
                    HeaderRow{"DoorType2", eNodeIT, 2, 0, 0, 0, 366, false},
                    HeaderRow{"DoorType3", eNodeIT, 3, 0, 0, 0, 376, false},
                    HeaderRow{"DoorNone", eNodeIT, 0, 0, 0, 0, 94, false},
                    HeaderRow{"SwitchModulePresent", eNodeBSM, 1, 0, 0, 1, 369, false},
                    HeaderRow{"SwitchModuleAbsent", eNodeBSM, 1, 0, 0, 0, 94, false},
                    HeaderRow{"OrdinaryPage", eKTXKonfig, 2, 1, 1, 1, 0, false},
                    HeaderRow{"DevicesFolder", eNodeGeraete, 2, 1, 1, 1, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PageHostTest, HeaderWithoutDocumentStaysHidden) {
    SetViewHost(nullptr);
    TNodeData holder(eNodeMox);
    TDataView* page = TDataView::Create<TDataView>(host.get(), &holder, res.get());
    EXPECT_TRUE(Label(page, "m_pLabelTyp")->isHidden());
    TDataView::Destroy(page);
    SetViewHost(this);
}

} // namespace

namespace {

TEST(ViewTexts, EveryIdOfThePageBaseInAllSix) {
    for (const char* file :
         {"ktx_d.spt", "ktx_uk.spt", "ktx_f.spt", "ktx_i.spt", "ktx_dk.spt", "ktx_nl.spt"}) {
        SptTable table;
        std::string error;
        ASSERT_TRUE(SptReader::ReadFile(std::string(MOX_BIN_DIR) + "/res/" + file, table, error))
            << file << ": " << error;
        for (int id : vtxt::kViewTextIds)
            EXPECT_NE(table.Text(id), nullptr) << "id " << id << " in " << file;
    }
}

} // namespace
