#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <vector>

namespace kadrix {

// A file-list pattern: wildcards separated by ";" such as "*.dg;*.1t",
// matched regardless of letter case. "*.*" matches every name, also one
// without an extension, as it did on the classic platform.
class FilePattern {
public:
    FilePattern() = default;
    explicit FilePattern(const QString& pattern);

    const QString& text() const { return text_; }
    bool matches(const QString& fileName) const;
    QStringList filter(const QStringList& fileNames) const;

private:
    QString text_;
    bool matchesAll_ = false;
    std::vector<QString> extensions_; // from the "*.ext" wildcards
    std::vector<QRegularExpression> others_;
};

} // namespace kadrix
