#pragma once
// The pictures of the read and write pages, drawn at run time so that no
// image file has to ship: the PC, the box and the arrow between them.

#include <QPixmap>

class TDataPagePictures {
public:
    static QPixmap Pc();
    static QPixmap Box();
    // toBox: the arrow points from the PC to the box (a write), else back.
    static QPixmap Arrow(bool toBox);
};
