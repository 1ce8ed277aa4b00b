#pragma once

#include <QString>

#include <array>

namespace kadrix {

// The data-file list with and without the read-only types .3d, .cn, .sn, .km.
inline const QString kDataFilesWithReadOnly = QStringLiteral(
    "*.dg;*.1t;*.2t;*.3t;*.4t;*.5t;*.6t;*.7t;*.8t;*.9t;*.cda;*.3d;*.cn;*.sn;*.km;*.odg");
inline const QString kDataFilesWithoutReadOnly =
    QStringLiteral("*.dg;*.1t;*.2t;*.3t;*.4t;*.5t;*.6t;*.7t;*.8t;*.9t;*.cda;*.odg");

// The convertible-file list, by the index of the selected filter button.
inline const std::array<QString, 4> kConvertPatterns = {
    QStringLiteral("*.csv;*.dat;*.dig;*.jcr;*.ssg;*.tab;*.txt;*.umq;*.xyf;*.xyz"),
    QStringLiteral("*.csv;*.dat;*.dig;*.jcr;*.ssg;*.tab;*.umq;*.xyf;*.xyz"),
    QStringLiteral("*.csv"),
    QStringLiteral("*.*"),
};

} // namespace kadrix
