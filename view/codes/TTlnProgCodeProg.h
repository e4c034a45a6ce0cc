#pragma once
// The code-assignment pages' view of the transfer form's programming part.
// Apart from TCodeProgLink: the programming part and the main window's
// program-state panel each have a state enumeration of their own, and no
// file sees both.

#include "ICodeProg.h"

#include <memory>

class TDataTransfer;

class TTlnProgCodeProg {
public:
    // Borrows the form's programming part; the form outlives the result.
    static std::unique_ptr<ICodeProg> Of(TDataTransfer& form);
};
