#pragma once
// The maker's web page, opened in the user's browser from the help menu and
// the about box. Tests take the request through the handler seam.

#include <QString>

#include <functional>

class TWebPage {
public:
    static QString Address();
    // Opens the address in the default browser.
    static void Open();

    using Handler = std::function<void(const QString& address)>;
    static void SetHandlerForTesting(Handler handler);
};
