#pragma once
// The subscriber programming of the transfer controller the subscriber page
// and dialogs are handed. They get the controller as the main window and the
// wizard see it; the programming lives in the controller's form. Tests hand
// in a programming port of their own.

#include "ITlnProgPort.h"

#include <functional>
#include <memory>

class IMainTransfer;
class TDataTransfer;

class TTlnProgAccess {
public:
    // A port on the controller's programming, or nullptr when it has none.
    // The port refers to the controller, which outlives the forms using it.
    static std::unique_ptr<ITlnProgPort> Of(IMainTransfer* transfer);
    // The port on the programming of a transfer form.
    static std::unique_ptr<ITlnProgPort> OfForm(TDataTransfer& form);

    using Resolver = std::function<std::unique_ptr<ITlnProgPort>(IMainTransfer*)>;
    // An empty resolver restores the program's own.
    static void SetResolverForTesting(Resolver resolver);
};
