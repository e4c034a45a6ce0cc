#include "TAssiSteps.h"

#include "TAssiSequence.h"
#include "TNodeData.h"

namespace {

using W = eAssiWork;

// Indexed by state.
const std::array<TAssiStep, eAssiStateCount> kSteps = {{
    {W::Question,
     0,
     "TAssiFormWillkommenCfg",
     "TAssiFormWillkommenHlp",
     {5009, 5010, 5011, 5012},
     5013,
     0},
    {W::Question, 0, "TAssiFormGeraeteCfg", "TAssiFormGeraeteHlp", {5040}, 224, 0},
    {W::Question, 0, "TAssiFormGeraeteLesenCfg", "TAssiFormGeraeteLesenHlp", {5028}, 224, 0},
    {W::View, eGeraeteliste, "TFormGeraete", "TAssiFormGeraeteSelHlp", {5029}, 224, 0},
    {W::Question, 0, "TAssiFormMoxCfg", "TAssiFormMoxHlp", {5047}, 5014, 0},
    {W::View, eKTXKonfig, "TFormMox", "TFormMoxKonfigHlp", {5060}, 374, 0},
    {W::View, eSperrnr, "TFormSperrnr", "TFormSperrnrHlp", {5069}, 236, 0},
    {W::View, eSMS, "TFormSMS", "TAssiFormSMSHlp", {5064}, 230, 0},
    {W::View, eITSchaltcode, "TFormSchaltcode", "TAssiFormSchaltcodeHlp", {5068}, 201, 0},
    {W::Question, 0, "TAssiFormKMRCfg", "TAssiFormKMRHlp", {5044}, 5015, 0},
    {W::View, eKMRKonfig, "TFormKMR", "TFormKMRKonfigHlp", {5065}, 233, 0},
    {W::Question, 0, "TAssiFormRAKCfg", "TAssiFormRAKHlp", {5048}, 5016, 0},
    {W::View, eRAKMEG, "TFormRAKEG", "TFormRAKEGHlp", {5058}, 227, 0},
    {W::View, eRAKSAG, "TFormRAKAG", "TFormRAKAGHlp", {5059}, 228, 0},
    {W::Question, 0, "TAssiFormITCfg", "TAssiFormITHlp", {5046}, 5017, 0},
    {W::View, eITKonfig, "TFormIT", "TFormITKonfigHlp", {5063}, 5017, 0},
    {W::View, eITMfe, "TFormITMEG", "TFormITMEGHlp", {5062}, 225, 0},
    {W::View, eITMfr, "TFormITMFR", "TFormITMFRHlp", {5061}, 226, 0},
    {W::Question, 0, "TAssiFormBSMCfg", "TAssiFormBSMHlp", {5043}, 5019, 0},
    {W::View, eBSMKonfig, "TFormBSM", "TFormBSMKonfigHlp", {5066}, 232, 0},
    {W::Question, 0, "TAssiFormTlnCfg", "TAssiFormTlnHlp", {5050}, 5020, 441},
    {W::View, eTlnKonfig, "TFormTln", "TFormTlnKonfigHlp", {5055}, 209, 441},
    {W::View, eTlnBG, "TFormTlnBG", "TFormTlnBGHlp", {5056}, 229, 0},
    {W::TlnProg, 0, "TTlnProgForm", "TTlnProgHlp", {5067}, 235, 0},
    {W::Question, 0, "TAssiFormSystemCfg", "TAssiFormSystemHlp", {5049}, 5021, 0},
    {W::View, eSystemKonfig, "TFormSystem", "TFormSystemKonfigHlp", {5057}, 217, 0},
    {W::Question, 0, "TAssiFormEndeCfg", "TAssiFormEndeHlp", {5051, 5052}, 5034, 0},
}};

} // namespace

const TAssiStep* TAssiSteps::Get(std::uint8_t state) {
    return state < kSteps.size() ? &kSteps[state] : nullptr;
}

int TAssiSteps::Caption(std::uint8_t state, std::uint8_t typeIT) {
    const TAssiStep* step = Get(state);
    if (!step)
        return 0;
    return typeIT == 1 && step->captionIT1 ? step->captionIT1 : step->caption;
}
