#pragma once
// TPrintRAKEG: the universal controller's inputs, one report per input by
// its mode, printed together through a composite report of its own.

#include "TCompositeReport.h"
#include "TPrintBasis.h"

#include <memory>
#include <vector>

class TPrintRAKEG : public TPrintBasis {
public:
    TPrintRAKEG();
    ~TPrintRAKEG() override;

    // Stores both and builds one report per input of the document now.
    void Init(TkResourcen* res, TMoxDocument* doc);

    // The reports of the composite (after it was prepared).
    int GetReportCount() const;
    TReport* GetReport(int nIdx) const;

    TCompositeReport* GetCompositeReport() const { return m_pCompositeReport.get(); }
    void OnAddReports(TCompositeReport& composite);

private:
    std::unique_ptr<TCompositeReport> m_pCompositeReport;
    std::vector<std::unique_ptr<TPrintBasis>> m_Inputs;
};
