#pragma once

#include <QByteArrayView>

#include <optional>

namespace kadrix {

// The layouts of exported motion data whose form is published, told from a
// file's first bytes.
enum class ExportLayout {
    Empty,
    Binary,
    Text,              // text of no known layout
    NumberColumns,     // columns of numbers, after at most a few lines of heading
    ViconTrajectories, // a Vicon trajectories CSV: "Trajectories", the rate, the names
    QualisysTsv,       // a Qualisys TSV: NO_OF_FRAMES, NO_OF_MARKERS, FREQUENCY, ...
    MotionAnalysisTrc, // a Motion Analysis TRC: PathFileType, then the keys and their values
};

struct ExportFormat {
    ExportLayout layout = ExportLayout::Empty;
    // What the header gives, where it gives it.
    std::optional<qint64> frames;
    std::optional<qint64> points;
    std::optional<double> rate; // frames a second
    // Columns of numbers: how many columns, and the heading lines above them.
    int columns = 0;
    int headingLines = 0;
    // Lines counted in the bytes read; with `moreLines`, the file goes on
    // beyond them and holds at least this many.
    qint64 lines = 0;
    bool moreLines = false;
};

// `head` is the start of the file, `whole` whether it is the whole file.
ExportFormat recognizeExport(QByteArrayView head, bool whole);

} // namespace kadrix
