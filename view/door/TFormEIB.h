#pragma once
// TFormEIB: the page of the installation bus (node kind 20). The tree has no
// node for it; it is the base page with an empty layout of its own and the
// help page of the installation bus.

#include "TDataView.h"

class TFormEIB : public TDataView {
    Q_OBJECT

public:
    TFormEIB(QWidget* owner, const TNodeData* holder, TkResourcen* res);
    ~TFormEIB() override;
};
