#pragma once
// The window that hosts the configuration pages, as the pages see it: the
// way to the one open document. The main window registers itself as the
// program-wide host when it is created and withdraws when it goes; a page
// without a host finds no document.

class TMoxDocument;

class IViewHost {
public:
    virtual ~IViewHost() = default;
    // The open document, or nullptr once it was released.
    virtual TMoxDocument* GetViewDocument() = 0;

    // What the read page asks of its host before and after it replaced the
    // document. The defaults are those of a host without a file or a tree.

    // Stores the current page and offers a modified document for saving;
    // false when the user cancelled, and the caller then stops.
    virtual bool ViewQuerySave() { return true; }
    // Rebuilds the configuration tree, which destroys the current page: a
    // page never calls it from its own handler but queues the call, and it
    // touches nothing of itself once it has.
    virtual void ViewRebuildTree() {}
    // Brings menus, tool bar and status bar in line with the document.
    virtual void ViewUpdateControls() {}
};

// The program-wide host, or nullptr.
IViewHost* GetViewHost();
void SetViewHost(IViewHost* host);
