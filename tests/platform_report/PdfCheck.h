#pragma once
// What a test can tell of a PDF file without a PDF library: whether it is
// a whole PDF file (header, cross-reference table, trailer, end marker) and
// how many page objects it has.

#include <QString>

#include <string>

struct PdfCheck {
    bool exists = false;
    bool wellFormed = false;
    int pages = 0;
    std::string problem; // why it is not well-formed
};

PdfCheck CheckPdf(const QString& path);
