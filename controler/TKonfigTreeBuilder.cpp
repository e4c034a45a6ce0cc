#include "TKonfigTreeBuilder.h"

#include "TNodeData.h"

#include <array>

namespace {

// When a node exists.
enum class Cond : std::uint8_t {
    Always,
    ITTwoOrThree, // door-interface type 2 or 3
    ITTwo,        // door-interface type 2
    ITPresent,    // door-interface type not 0
    ITPresentMode2,
    KMRPresent,
    RAKPresent,
    BSMPresent,
    Mode2,
    Mode2NoExpert,
    Mode2Expert,
};

struct Row {
    std::uint8_t kind;
    std::uint8_t parent;
    Cond cond;
    int captionId; // 0: chosen by the door-interface type (kind 23)
    bool folder;
    std::string_view kindName;
    std::string_view viewName;
};

constexpr std::string_view kBase = "TDataView";

// Children are added in the order of this table.
constexpr std::array kRows = {
    Row{eProjectKonf, 0, Cond::Always, 203, true, "eProjectKonf", kBase},
    Row{eGeraeteliste, eProjectKonf, Cond::Always, 224, false, "eGeraeteliste", "TFormGeraete"},
    Row{eNodeGeraete, eProjectKonf, Cond::Always, 204, true, kBase, kBase},
    Row{eNodeMox, eNodeGeraete, Cond::Always, 205, true, kBase, kBase},
    Row{eKTXKonfig, eNodeMox, Cond::Always, 222, false, "eKTXKonfig", "TFormMox"},
    Row{eSperrnr, eNodeMox, Cond::ITTwoOrThree, 236, false, "eSperrnr", "TFormSperrnr"},
    Row{eNodeTln, eNodeMox, Cond::Always, 0, true, kBase, kBase},
    Row{eTlnKonfig, eNodeTln, Cond::Always, 254, false, "eTlnKonfig", "TFormTln"},
    Row{eTlnBG, eNodeTln, Cond::Always, 229, false, "eTlnBG", "TFormTlnBG"},
    Row{eTlnAktProg, eNodeTln, Cond::ITTwo, 235, false, "eTlnAktProg", "TFormTlnProg"},
    Row{eNodeIT, eNodeMox, Cond::ITPresent, 207, true, kBase, kBase},
    Row{eITMfr, eNodeIT, Cond::ITPresent, 226, false, "eITMfr", "TFormITMFR"},
    Row{eITMfe, eNodeIT, Cond::ITPresent, 225, false, "eITMfe", "TFormITMEG"},
    Row{eSMS, eNodeIT, Cond::ITPresentMode2, 230, false, "eSMS", "TFormSMS"},
    Row{eNodeITKonfig, eNodeIT, Cond::ITPresent, 282, true, kBase, kBase},
    Row{eITKonfig, eNodeITKonfig, Cond::ITPresent, 234, false, "eITKonfig", "TFormIT"},
    Row{eITSchaltcode, eNodeITKonfig, Cond::ITTwo, 201, false, "eITSchaltcode",
        "TFormSchaltcodeProg"},
    Row{eNodeKMR, eNodeGeraete, Cond::KMRPresent, 233, true, kBase, kBase},
    Row{eKMRKonfig, eNodeKMR, Cond::KMRPresent, 222, false, "eKMRKonfig", "TFormKMR"},
    Row{eNodeRAK, eNodeGeraete, Cond::RAKPresent, 206, true, kBase, kBase},
    Row{eRAKMEG, eNodeRAK, Cond::RAKPresent, 227, false, "eRAKMEG", "TFormRAKEG"},
    Row{eRAKSAG, eNodeRAK, Cond::RAKPresent, 228, false, "eRAKSAG", "TFormRAKAG"},
    Row{eNodeBSM, eNodeGeraete, Cond::BSMPresent, 232, true, kBase, kBase},
    Row{eBSMKonfig, eNodeBSM, Cond::BSMPresent, 202, false, "eBSMKonfig", "TFormBSMProg"},
    Row{eNodeSystem, eProjectKonf, Cond::Always, 210, true, kBase, kBase},
    Row{eSystemKonfig, eNodeSystem, Cond::Always, 222, false, "eSystemKonfig", "TFormSystem"},
    Row{eNodeTransfer, eProjectKonf, Cond::Always, 218, true, kBase, kBase},
    Row{eNodeDaten, eNodeTransfer, Cond::Always, 211, true, kBase, kBase},
    Row{eDatenLesen, eNodeDaten, Cond::Always, 219, false, "eDatenLesen", "TFormReadData"},
    Row{eDatenSchreiben, eNodeDaten, Cond::Always, 220, false, "eDatenSchreiben", "TFormWriteData"},
    Row{eNodeFirmware, eNodeTransfer, Cond::Mode2, 221, true, kBase, kBase},
    Row{eFirmwareSchreiben, eNodeFirmware, Cond::Mode2, 220, false, "eFirmwareSchreiben",
        "TFormFirmware"},
    Row{eNodeEventLog, eNodeTransfer, Cond::Mode2, 32, true, kBase, kBase},
    Row{eEventLogLesen, eNodeEventLog, Cond::Mode2NoExpert, 219, false, "eEventLogLesen",
        "TFormEventLog"},
    Row{eEventLogELM, eNodeEventLog, Cond::Mode2Expert, 379, false, "eEventLogELM", "TFormELM"},
};

// Opened by kind but never a tree node.
constexpr Row kEibRow{eEIBKonfig, 0, Cond::Always, 0, false, "eEIBKonfig", "TFormEIB"};

constexpr int kTlnFolderIT1 = 441;
constexpr int kTlnFolderOther = 209;

bool Holds(Cond cond, const TKonfigTreeInput& in) {
    const bool mode2 = in.mode == 2;
    switch (cond) {
    case Cond::Always:
        return true;
    case Cond::ITTwoOrThree:
        return in.typeIT == 2 || in.typeIT == 3;
    case Cond::ITTwo:
        return in.typeIT == 2;
    case Cond::ITPresent:
        return in.typeIT != 0;
    case Cond::ITPresentMode2:
        return in.typeIT != 0 && mode2;
    case Cond::KMRPresent:
        return in.typeKMR != 0;
    case Cond::RAKPresent:
        return in.typeRAK != 0;
    case Cond::BSMPresent:
        return in.typeBSM != 0;
    case Cond::Mode2:
        return mode2;
    case Cond::Mode2NoExpert:
        return mode2 && !in.expert;
    case Cond::Mode2Expert:
        return mode2 && in.expert;
    }
    return false;
}

const Row* Find(std::uint8_t kind) {
    for (const Row& r : kRows)
        if (r.kind == kind)
            return &r;
    return kind == eEIBKonfig ? &kEibRow : nullptr;
}

} // namespace

std::vector<TKonfigNode> TKonfigTreeBuilder::Build(const TKonfigTreeInput& in) {
    std::vector<TKonfigNode> nodes;
    nodes.reserve(kRows.size());
    for (const Row& r : kRows) {
        if (!Holds(r.cond, in))
            continue;
        int caption = r.captionId;
        if (r.kind == eNodeTln)
            caption = in.typeIT == 1 ? kTlnFolderIT1 : kTlnFolderOther;
        nodes.push_back(TKonfigNode{r.kind, r.parent, caption, r.folder});
    }
    return nodes;
}

std::string_view TKonfigTreeBuilder::KindName(std::uint8_t kind) {
    const Row* r = Find(kind);
    return r ? r->kindName : kBase;
}

std::string_view TKonfigTreeBuilder::ViewName(std::uint8_t kind) {
    const Row* r = Find(kind);
    return r ? r->viewName : kBase;
}
