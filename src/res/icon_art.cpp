#include "res/icon_art.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>
#include <array>

namespace luma::art {
namespace {

constexpr int kIconSize = 32;
const QColor kArrowLight(96, 150, 230);
const QColor kArrowDark(20, 60, 150);
const QColor kArrowRim(10, 30, 90);
const QColor kIndicatorGrey(192, 192, 192);

QImage Blank(int width, int height, const QColor& fill = Qt::transparent)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

// PNG keeps straight alpha; converting here makes a drawn picture compare equal to its file.
QImage Finished(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

void FillArrowPart(QPainter& painter, const QPainterPath& path)
{
    QLinearGradient shade(0, 6, 0, 26);
    shade.setColorAt(0, kArrowLight);
    shade.setColorAt(1, kArrowDark);
    painter.setPen(QPen(kArrowRim, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(shade);
    painter.drawPath(path);
}

// A right-pointing arrow whose tip is at `tipX`, mirrored for the left-pointing buttons.
QImage Arrow(double tipX, bool againstBar, bool pointsLeft)
{
    QImage image = Blank(kIconSize, kIconSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (pointsLeft) {
        painter.setTransform(QTransform(-1, 0, 0, 1, kIconSize, 0));
    }
    const double headX = tipX - 12;
    const double tailX = againstBar ? 2 : tipX - 24;
    QPainterPath arrow;
    arrow.addPolygon(QPolygonF({{tailX, 12.5}, {headX, 12.5}, {headX, 5}, {tipX, 16},
                                {headX, 27}, {headX, 19.5}, {tailX, 19.5}}));
    arrow.closeSubpath();
    FillArrowPart(painter, arrow);
    if (againstBar) {
        QPainterPath bar;
        bar.addRoundedRect(QRectF(tipX + 1.5, 5, 4, 22), 1, 1);
        FillArrowPart(painter, bar);
    }
    return Finished(image);
}

QImage Strokes(const QColor& colour, const std::vector<QPolygonF>& lines)
{
    QImage image = Blank(kIconSize, kIconSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // A darker rim under the stroke keeps it readable on any button face.
    for (const auto& [pen, width] : {std::pair{colour.darker(160), 6.5}, std::pair{colour, 4.5}}) {
        painter.setPen(QPen(pen, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (const QPolygonF& line : lines) {
            painter.drawPolyline(line);
        }
    }
    return Finished(image);
}

}  // namespace

QImage NextArrow() { return Arrow(28, false, false); }
QImage PrevArrow() { return Arrow(28, false, true); }
QImage LastArrow() { return Arrow(23, true, false); }
QImage FirstArrow() { return Arrow(23, true, true); }

QImage MarkTick()
{
    return Strokes(QColor(220, 20, 20), {QPolygonF({{6, 17}, {13, 24}, {26, 7}})});
}

QImage UnmarkCross()
{
    return Strokes(QColor(30, 80, 210), {QPolygonF({{8, 8}, {24, 24}}), QPolygonF({{24, 8}, {8, 24}})});
}

QImage PointingHand()
{
    QImage image = Blank(kIconSize, kIconSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor skin(255, 218, 170);
    painter.setPen(QPen(QColor(130, 75, 30), 1.2));

    painter.setBrush(QColor(60, 100, 190));  // cuff
    painter.drawRoundedRect(QRectF(1.5, 11, 5, 15), 1.5, 1.5);
    painter.setBrush(skin);
    painter.drawRoundedRect(QRectF(6, 10, 14, 16), 4, 4);      // fist
    painter.drawRoundedRect(QRectF(13, 9, 17, 5.5), 2.7, 2.7);  // index finger
    for (double y : {14.5, 18.5, 22.0}) {                       // the folded fingers
        painter.drawRoundedRect(QRectF(15, y, 7, 4), 2, 2);
    }
    painter.drawRoundedRect(QRectF(8, 6.5, 9, 5), 2.5, 2.5);    // thumb
    return Finished(image);
}

QImage UnsavedImage()
{
    QImage image = Blank(21, 20, kIndicatorGrey);
    QPainter painter(&image);
    // Sixteen colours and no smoothing, as the indicator always looked.
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(255, 0, 0));
    painter.drawEllipse(QRect(3, 3, 14, 13));
    return Finished(image);
}

QImage SavedImage()
{
    return Finished(Blank(23, 23, kIndicatorGrey));
}

QImage AppIcon(int size)
{
    QImage image = Blank(size, size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 48.0, size / 48.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(33, 82, 160));
    painter.drawRoundedRect(QRectF(1, 1, 46, 46), 8, 8);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(9, 6, 28, 36), 2, 2);  // a record card
    painter.setPen(QPen(QColor(150, 160, 180), 2.5));
    for (int y : {13, 19, 25, 31}) {
        painter.drawLine(QPointF(14, y), QPointF(32, y));
    }
    const QPolygonF tick({{23, 31}, {30, 38}, {43, 20}});
    painter.setPen(QPen(Qt::white, 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(tick);
    painter.setPen(QPen(QColor(220, 20, 20), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(tick);
    return Finished(image);
}

std::vector<Picture> AllPictures()
{
    return {
        {QStringLiteral("next.png"), NextArrow()},
        {QStringLiteral("prev.png"), PrevArrow()},
        {QStringLiteral("mark.png"), MarkTick()},
        {QStringLiteral("unmark.png"), UnmarkCross()},
        {QStringLiteral("last.png"), LastArrow()},
        {QStringLiteral("first.png"), FirstArrow()},
        {QStringLiteral("goto.png"), PointingHand()},
        {QStringLiteral("unsaved.png"), UnsavedImage()},
        {QStringLiteral("saved.png"), SavedImage()},
        {QStringLiteral("luma16.png"), AppIcon(16)},
        {QStringLiteral("luma32.png"), AppIcon(32)},
        {QStringLiteral("luma48.png"), AppIcon(48)},
    };
}

namespace {

void AppendLittleEndian(QByteArray& bytes, quint32 value, int size)
{
    for (int i = 0; i < size; ++i) {
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFFu));
    }
}

QByteArray PngOf(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

}  // namespace

QByteArray AppIconFile()
{
    constexpr std::array<int, 3> kSizes{16, 32, 48};
    constexpr quint32 kHeaderSize = 6;
    constexpr quint32 kEntrySize = 16;
    QByteArray header;
    AppendLittleEndian(header, 0, 2);  // reserved
    AppendLittleEndian(header, 1, 2);  // an icon, not a cursor
    AppendLittleEndian(header, static_cast<quint32>(kSizes.size()), 2);
    QByteArray images;
    const quint32 firstImage = kHeaderSize + kEntrySize * static_cast<quint32>(kSizes.size());
    for (const int size : kSizes) {
        const QByteArray png = PngOf(AppIcon(size));
        AppendLittleEndian(header, static_cast<quint32>(size), 1);  // width
        AppendLittleEndian(header, static_cast<quint32>(size), 1);  // height
        AppendLittleEndian(header, 0, 1);                           // no palette
        AppendLittleEndian(header, 0, 1);                           // reserved
        AppendLittleEndian(header, 1, 2);                           // colour planes
        AppendLittleEndian(header, 32, 2);                          // bits per pixel
        AppendLittleEndian(header, static_cast<quint32>(png.size()), 4);
        AppendLittleEndian(header, firstImage + static_cast<quint32>(images.size()), 4);
        images += png;
    }
    return header + images;
}

}  // namespace luma::art
