// makemanual: turns a Markdown file into a PDF document, A4, with page
// numbers, for the manuals of the examples' program directory.
//
//   makemanual [--chapter-pages] <input.md> <output.pdf>
//
// With --chapter-pages each chapter (a level-two heading) but the first
// begins a new page.
// The document's title, kept in the PDF's properties, is the text of the
// first level-one heading.

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <cstdio>
#include <utility>

namespace {

QString titleOf(const QString& markdown)
{
    const QStringList lines = markdown.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("# ")))
            return line.mid(2).trimmed();
    }
    return {};
}

QFont installedFont(const QStringList& families, QFontDatabase::SystemFont fallback, double points)
{
    QFont font = QFontDatabase::systemFont(fallback);
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : families) {
        if (installed.contains(family)) {
            font = QFont(family);
            break;
        }
    }
    font.setPointSizeF(points);
    return font;
}

bool isCode(const QTextBlock& block)
{
    return block.isValid() && block.blockFormat().nonBreakableLines();
}

// Space around headings and paragraphs, as a printed manual has it; the
// lines of a code block stay together. With `chapterPages`, each chapter
// (a level-two heading) but the first begins a page.
void spaceBlocks(QTextDocument& document, bool chapterPages)
{
    bool firstChapter = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        const int level = format.headingLevel();
        if (level > 0) {
            format.setTopMargin(level == 1 ? 4 : 16);
            format.setBottomMargin(6);
            if (level == 2 && chapterPages && !std::exchange(firstChapter, false))
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        } else if (isCode(block)) {
            format.setBottomMargin(isCode(block.next()) ? 0 : 8);
            format.setLeftMargin(12);
        } else if (!block.textList()) {
            format.setBottomMargin(6);
        }
        QTextCursor(block).setBlockFormat(format);
    }
}

// Tables with thin ruled cells and a shaded heading row.
void ruleTables(QTextDocument& document)
{
    const QList<QTextFrame*> frames = document.rootFrame()->childFrames();
    for (QTextFrame* frame : frames) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        QTextTableFormat format = table->format();
        format.setBorder(0.5);
        format.setBorderBrush(QColor(150, 150, 150));
        format.setBorderCollapse(true);
        format.setCellPadding(3);
        format.setCellSpacing(0);
        format.setBottomMargin(8);
        table->setFormat(format);
        for (int column = 0; column < table->columns(); ++column) {
            QTextTableCell cell = table->cellAt(0, column);
            QTextCharFormat heading = cell.format();
            heading.setBackground(QColor(230, 230, 230));
            cell.setFormat(heading);
        }
    }
}

void layOut(QTextDocument& document, const QString& markdown, bool chapterPages)
{
    document.setDefaultFont(
        installedFont({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")},
                      QFontDatabase::GeneralFont, 10));
    document.setMarkdown(markdown);
    spaceBlocks(document, chapterPages);
    ruleTables(document);
}

bool writePdf(const QTextDocument& document, const QString& title, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(300);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("kadrix95 makemanual"));
        document.print(&writer);
    }
    return file.commit();
}

int fail(const char* what, const QString& path)
{
    std::fprintf(stderr, "makemanual: %s %s\n", what, qPrintable(path));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    // The tool runs at build time, where there may be no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtimeDirectory;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDirectory.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDirectory.path()));
    QGuiApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Turns a Markdown file into a PDF document."));
    parser.addHelpOption();
    const QCommandLineOption chapterPages(QStringLiteral("chapter-pages"),
                                          QStringLiteral("Begin each chapter on a new page."));
    parser.addOption(chapterPages);
    parser.addPositionalArgument(QStringLiteral("input"), QStringLiteral("The Markdown file."));
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("The PDF to write."));
    parser.process(application);
    if (parser.positionalArguments().size() != 2)
        parser.showHelp(2);
    const QString input = parser.positionalArguments().at(0);
    const QString output = parser.positionalArguments().at(1);

    QFile source(input);
    if (!source.open(QIODevice::ReadOnly))
        return fail("cannot read", input);
    const QString markdown = QString::fromUtf8(source.readAll());

    QTextDocument document;
    layOut(document, markdown, parser.isSet(chapterPages));
    if (!writePdf(document, titleOf(markdown), output))
        return fail("cannot write", output);
    return 0;
}
