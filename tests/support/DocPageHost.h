#pragma once
// The page host of the page tests: it hands the pages the document and
// ignores a language refresh; the host's other calls keep their defaults.

#include "IDocLanguageRefresh.h"
#include "IViewHost.h"

class TMoxDocument;

class DocPageHost : public IViewHost, public IDocLanguageRefresh {
public:
    TMoxDocument* GetViewDocument() override { return doc; }
    void RefreshLanguage() override {}

    TMoxDocument* doc = nullptr;
};
