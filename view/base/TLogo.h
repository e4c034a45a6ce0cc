#pragma once
// The program's own pictures, drawn at run time so that no image file has
// to ship: the logo in the top right corner of every page.

#include <QPixmap>

class TLogo {
public:
    // The logo, 64 x 32 pixels.
    static QPixmap Pixmap();
};
