#pragma once

#include <QString>

namespace kadrix::test {

// Writes a small PDF document of `pages` pages, each saying `text`,
// creating the directories on the way.
void writePdf(const QString& path, const QString& text = QStringLiteral("Manual"), int pages = 1);

} // namespace kadrix::test
