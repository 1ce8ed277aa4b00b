#include "classic/Artwork.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace kadrix {

namespace {

// Joints of a runner in mid-stride, on a 100 x 110 grid: head, neck, hip,
// then elbow and hand of each arm, knee and foot of each leg.
struct Pose {
    QPointF head{54, 14}, neck{52, 27}, hip{46, 58};
    std::array<QPointF, 2> elbows{QPointF(66, 38), QPointF(38, 40)};
    std::array<QPointF, 2> hands{QPointF(74, 28), QPointF(34, 54)};
    std::array<QPointF, 2> knees{QPointF(64, 74), QPointF(36, 78)};
    std::array<QPointF, 2> feet{QPointF(60, 96), QPointF(20, 88)};
};

void drawRunner(QPainter& painter, const QColor& colour, double scale)
{
    const Pose pose;
    QPen limb(colour, 7 * scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(limb);
    auto at = [scale](QPointF p) { return p * scale; };
    painter.drawLine(at(pose.neck), at(pose.hip));
    for (size_t i = 0; i < 2; ++i) {
        painter.drawPolyline(QPolygonF{at(pose.neck), at(pose.elbows[i]), at(pose.hands[i])});
        painter.drawPolyline(QPolygonF{at(pose.hip), at(pose.knees[i]), at(pose.feet[i])});
    }
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(at(pose.head), 8 * scale, 8 * scale);
}

void drawMarkers(QPainter& painter, double scale)
{
    const Pose pose;
    painter.setPen(QPen(QColor(192, 0, 0), 1.5));
    painter.setBrush(Qt::NoBrush);
    const std::array<QPointF, 7> joints{pose.neck,     pose.hip,      pose.elbows[0], pose.knees[0],
                                        pose.knees[1], pose.hands[0], pose.feet[1]};
    for (const QPointF& joint : joints)
        painter.drawEllipse(joint * scale, 4, 4);
}

} // namespace

QPixmap programIconPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(128, 255, 128));
    painter.setPen(QPen(QColor(0, 96, 0), size / 16.0));
    painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 6.0, size / 6.0);
    painter.translate(size * 0.08, size * 0.02);
    drawRunner(painter, QColor(0, 64, 0), size / 115.0);
    return pixmap;
}

QIcon programIcon()
{
    // Drawn once: every window of the program carries it.
    static const QIcon icon = [] {
        QIcon sizes;
        for (int size : {16, 32, 48, 64})
            sizes.addPixmap(programIconPixmap(size));
        return sizes;
    }();
    return icon;
}

QPixmap authorPicture()
{
    QPixmap pixmap(180, 198);
    pixmap.fill(QColor(224, 224, 224));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(200, 200, 200), 1));
    for (int x = 0; x < 180; x += 18)
        painter.drawLine(x, 0, x, 198);
    for (int y = 0; y < 198; y += 18)
        painter.drawLine(0, y, 180, y);
    painter.translate(0, 0);
    drawRunner(painter, QColor(48, 48, 48), 1.8);
    drawMarkers(painter, 1.8);
    return pixmap;
}

} // namespace kadrix
