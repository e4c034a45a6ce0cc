#pragma once
// The main window's language refresh as the document sees it: after the
// language changed or a file was read, the document asks its owner to reload
// the language texts (TkResourcen::Reload) and to apply them to its forms.
// The main window implements it; the document's tests count the calls.

class IDocLanguageRefresh {
public:
    virtual ~IDocLanguageRefresh() = default;
    virtual void RefreshLanguage() = 0;
};
