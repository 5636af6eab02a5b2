#include "Preview.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace generator {

namespace {

bool hasAll(const ImagesByName& images, std::initializer_list<const char*> names) {
    return std::all_of(names.begin(), names.end(), [&](const char* name) {
        const auto found = images.find(QString::fromLatin1(name));
        return found != images.end() && !found->second.isNull();
    });
}

const QImage& at(const ImagesByName& images, const char* name) {
    return images.at(QString::fromLatin1(name));
}

// OR the mask, then AND the picture: the raster operations the program composites with.
void composite(QImage& target, QPoint pos, const QImage& picture, const QImage& mask) {
    const QImage p = picture.convertToFormat(QImage::Format_RGB32);
    const QImage m = mask.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            const QPoint t = pos + QPoint(x, y);
            if (!target.rect().contains(t))
                continue;
            const QRgb under = target.pixel(t) | m.pixel(x, y);
            target.setPixel(t, (under & p.pixel(x, y)) | 0xFF000000u);
        }
}

// The field and the window strip use the same stepped gradient: n bands of length / n
// pixels and the remainder in the end colour.
void steppedGradient(QImage& image, QRect rect, QColor from, QColor to, bool vertical) {
    const int length = vertical ? rect.height() : rect.width();
    const int n = std::max(2, std::min(255, length));
    const int band = length / n;
    QPainter painter(&image);
    painter.fillRect(rect, to);
    for (int k = 0; k < n && band > 0; ++k) {
        auto channel = [&](int a, int b) {
            return a + static_cast<int>(std::lround(static_cast<double>(k) * (b - a) / (n - 1)));
        };
        const QColor colour(channel(from.red(), to.red()), channel(from.green(), to.green()),
                            channel(from.blue(), to.blue()));
        painter.fillRect(vertical ? QRect(rect.left(), rect.top() + k * band, rect.width(), band)
                                  : QRect(rect.left() + k * band, rect.top(), band, rect.height()),
                         colour);
    }
}

} // namespace

QImage previewBoard(const ImagesByName& images) {
    if (!hasAll(images, {"PLATE", "PLATEB", "PLATEY", "PLATE_L", "PLATE_LB", "PLATE_LY", "PLATE_R",
                         "PLATE_RB", "PLATE_RY", "MASKP", "MASK_L", "MASK_R", "FLAG", "FLAG_M",
                         "FOX", "FOX_M"}))
        return {};
    constexpr int N = 10;
    QImage board(401, 225, QImage::Format_RGB32);
    steppedGradient(board, QRect(0, 0, 546, 225), QColor(192, 192, 192), QColor(64, 64, 64), false);
    auto origin = [](int i, int j) {
        return QPoint(180 + 20 * (j - 1) - 20 * (i - 1), 15 + 10 * (i - 1) + 10 * (j - 1));
    };
    // A fixed little scene: opened cells with counts, two foxes, a current cell.
    auto opened = [](int i, int j) { return (i * 7 + j * 3) % 5 == 0 || (i == 5 && j < 5); };
    auto fox = [](int i, int j) {
        return (i == 3 && j == 8) || (i == 7 && j == 2) || (i == 10 && j == 10);
    };
    const QPoint hot(6, 4);
    for (int i = 1; i <= N; ++i)
        for (int j = 1; j <= N; ++j) {
            const char* variant = (i == hot.x() && j == hot.y()) ? "B"
                                  : (opened(i, j) || fox(i, j))  ? "Y"
                                                                 : "";
            auto draw = [&](const char* base, const char* mask) {
                composite(board, origin(i, j),
                          at(images, (QString::fromLatin1(base) + variant).toLatin1()),
                          at(images, mask));
            };
            if (i != N && j != N)
                draw("PLATE", "MASKP");
            if (i == N)
                draw("PLATE_L", "MASK_L");
            if (j == N)
                draw("PLATE_R", "MASK_R");
        }
    QPainter painter(&board);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    for (int i = 1; i <= N; ++i)
        for (int j = 1; j <= N; ++j) {
            const QPoint o = origin(i, j);
            if (fox(i, j)) {
                composite(board, o + QPoint(11, 2), at(images, "FOX"), at(images, "FOX_M"));
            } else if (opened(i, j)) {
                composite(board, o + QPoint(20, -10), at(images, "FLAG"), at(images, "FLAG_M"));
                const int count = (i + 2 * j) % 12;
                painter.drawText(QRect(o + QPoint(23, -11), QSize(40, 14)),
                                 Qt::AlignLeft | Qt::AlignTop, QString::number(count));
            }
        }
    return board;
}

QImage previewFrame(const ImagesByName& images, int width, int height, const QString& caption,
                    bool active) {
    if (!hasAll(images, {"C_UL", "MASK", "MAINICON", "TOP", "TOP_D", "LEF", "RIG", "BOT", "I_MIN",
                         "I_MIND", "I_CLO", "I_CLOD"}))
        return {};
    const int W = width, H = height, B = 50;
    QImage frame(W, H, QImage::Format_RGB32);
    frame.fill(QColor(128, 128, 128));
    steppedGradient(frame, QRect(8, 46, 40, H - 61), QColor(0, 255, 255), QColor(0, 32, 32), true);

    // The corner: the icon on white, ORed with the disc mask, ANDed with the recess.
    QImage corner = at(images, "C_UL").convertToFormat(QImage::Format_RGB32);
    QImage icon(32, 32, QImage::Format_RGB32);
    icon.fill(Qt::white);
    {
        QPainter p(&icon);
        p.drawImage(0, 0, at(images, "MAINICON"));
    }
    const QImage mask = at(images, "MASK").convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb v = (icon.pixel(x, y) | mask.pixel(x, y)) & corner.pixel(10 + x, 8 + y);
            corner.setPixel(10 + x, 8 + y, v | 0xFF000000u);
        }
    for (int y = 31; y <= 45; ++y)
        for (int x = 0; x < 46; ++x) {
            const QRgb v = corner.pixel(x, y);
            if (qRed(v) > 250 && qGreen(v) > 250 && qBlue(v) > 250)
                corner.setPixel(x, y, qRgb(0, 255, 255));
        }
    QPainter painter(&frame);
    painter.drawImage(0, 0, corner);
    painter.fillRect(QRect(46, 31, 2, 15), QColor(0, 255, 255));

    const QImage& top = at(images, active ? "TOP" : "TOP_D");
    painter.drawImage(46, 0, top, 0, 0, 13, 31);
    const int n = (W - 85 - B) / 8 + 1;
    for (int k = 1; k <= n; ++k)
        painter.drawImage(59 + 8 * (k - 1), 0, top, 13, 0, 8, 31);
    painter.drawImage(W - 26 - B, 0, top, 21, 0, 13, 31);
    painter.drawImage(QRect(W - 13 - B, 0, W - 18, 31), top, QRect(34, 0, 8, 31));
    painter.drawImage(W - 18, 0, top, 42, 0, 18, 31);
    painter.drawImage(W - 36, 3, at(images, active ? "I_CLO" : "I_CLOD"), 1, 1, 15, 22);
    painter.drawImage(W - 50, 3, at(images, active ? "I_MIN" : "I_MIND"), 1, 1, 15, 22);

    const QImage& bottom = at(images, "BOT");
    painter.drawImage(0, H - 15, bottom, 0, 0, 78, 15);
    const int m = (W - 156) / 89 + 1;
    for (int k = 1; k <= m; ++k)
        painter.drawImage(78 + 89 * (k - 1), H - 15, bottom, 78, 0, 89, 15);
    painter.drawImage(W - 78, H - 15, bottom, 169, 0, 78, 15);
    painter.drawImage(QRect(0, 46, 8, H - 61), at(images, "LEF"));
    painter.drawImage(QRect(W - 8, 31, 8, H - 46), at(images, "RIG"));

    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(68, 6, W - 140, 20), Qt::AlignLeft | Qt::AlignTop, caption);
    return frame;
}

} // namespace generator
