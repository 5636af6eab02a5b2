#include "ContactSheet.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace tarnell::generator {

namespace {

constexpr int Margin = 24;
constexpr int Gap = 20;
constexpr int MinimumWidth = 1400;
const QColor Paper(214, 216, 220);
const QColor Ink(24, 28, 36);
const QColor Frame(96, 100, 110);

QFont sheetFont(int pixels, bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QString caption(const SheetEntry& entry) {
    if (entry.bitsPerPixel == 0)
        return QStringLiteral("%1  at %2x").arg(entry.name).arg(entry.scale);
    return QStringLiteral("%1  %2x%3 %4bpp")
        .arg(entry.name)
        .arg(entry.image.width())
        .arg(entry.image.height())
        .arg(entry.bitsPerPixel);
}

struct Placement {
    const SheetEntry* entry;
    QPoint picture;
    QPoint label;
};

struct Layout {
    std::vector<std::pair<QString, QPoint>> titles;
    std::vector<Placement> items;
    QSize size;
};

// Lays the groups out as wrapped rows of cells, each cell as wide as its enlarged picture
// or its caption, whichever is wider.
Layout layOut(const std::vector<SheetGroup>& groups, int width) {
    const QFontMetrics labelMetrics(sheetFont(13, false));
    const QFontMetrics titleMetrics(sheetFont(20, true));
    Layout layout;
    int y = Margin;
    for (const SheetGroup& group : groups) {
        layout.titles.emplace_back(group.title, QPoint(Margin, y + titleMetrics.ascent()));
        y += titleMetrics.height() + 10;
        int x = Margin;
        int rowHeight = 0;
        for (const SheetEntry& entry : group.entries) {
            const int pictureWidth = entry.image.width() * entry.scale + 2;
            const int pictureHeight = entry.image.height() * entry.scale + 2;
            const int cellWidth =
                std::max(pictureWidth, labelMetrics.horizontalAdvance(caption(entry)));
            const int cellHeight = pictureHeight + 4 + labelMetrics.height();
            if (x > Margin && x + cellWidth > width - Margin) {
                x = Margin;
                y += rowHeight + Gap;
                rowHeight = 0;
            }
            layout.items.push_back({&entry, QPoint(x + 1, y + 1),
                                    QPoint(x, y + pictureHeight + 4 + labelMetrics.ascent())});
            x += cellWidth + Gap;
            rowHeight = std::max(rowHeight, cellHeight);
        }
        y += rowHeight + Gap + 12;
    }
    layout.size = QSize(width, y + Margin - Gap);
    return layout;
}

} // namespace

QImage drawContactSheet(const std::vector<SheetGroup>& groups) {
    int width = MinimumWidth;
    for (const SheetGroup& group : groups)
        for (const SheetEntry& entry : group.entries)
            width = std::max(width, entry.image.width() * entry.scale + 2 + 2 * Margin);
    const Layout layout = layOut(groups, width);

    QImage sheet(layout.size, QImage::Format_RGB32);
    sheet.fill(Paper);
    QPainter painter(&sheet);
    painter.setPen(Ink);
    painter.setFont(sheetFont(20, true));
    for (const auto& [title, at] : layout.titles)
        painter.drawText(at, title);
    painter.setFont(sheetFont(13, false));
    for (const Placement& item : layout.items) {
        const QImage& image = item.entry->image;
        const QSize enlarged = image.size() * item.entry->scale;
        painter.setPen(Frame);
        painter.drawRect(QRect(item.picture - QPoint(1, 1), enlarged + QSize(1, 1)));
        // Nearest neighbour: every stored pixel becomes a crisp 4 x 4 block.
        painter.drawImage(item.picture,
                          image.scaled(enlarged, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        painter.setPen(Ink);
        painter.drawText(item.label, caption(*item.entry));
    }
    painter.end();
    return sheet;
}

} // namespace tarnell::generator
