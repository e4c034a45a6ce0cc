#pragma once
// Which page a tree node opens. Each page library registers the kinds it
// serves at start-up; a kind nobody registered opens the plain base page, as
// kinds outside the table and 38 and above do.

#include "TNodeData.h"

#include <functional>

class IMainTransfer;
class QWidget;
class TDataView;
class TkResourcen;

struct TViewContext {
    QWidget* owner = nullptr;
    const TNodeData* holder = nullptr;
    TkResourcen* res = nullptr;
    // The transfer controller, for the pages that run exchanges (24, 31,
    // 32, 34, 36, 37); nullptr before the main window was first shown.
    IMainTransfer* transfer = nullptr;
};

class TViewFactory {
public:
    using Creator = std::function<TDataView*(const TViewContext&)>;

    static void Register(std::uint8_t kind, Creator creator);
    static void Unregister(std::uint8_t kind);
    static bool IsRegistered(std::uint8_t kind);

    // The registered page, or a plain TDataView.
    static TDataView* Create(std::uint8_t kind, const TViewContext& ctx);
};
