#pragma once
// The Qt boundary for 8-bit texts. Everything the program keeps as bytes
// (record fields, language texts, file names from documents) is Windows-1252;
// Qt wants QString. These two functions are the only crossing, and they go
// through the data library's codec so that both directions agree with what
// the record and the box hold.

#include <QString>

#include <string>
#include <string_view>

QString MoxToQString(std::string_view cp1252);
std::string MoxFromQString(const QString& text);
