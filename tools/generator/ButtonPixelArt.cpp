#include "ButtonPixelArt.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace tarnell::generator {

ShapeMask::ShapeMask(int width, int height)
    : width_(width), height_(height), bits_(static_cast<size_t>(width * height), 0) {}

ShapeMask ShapeMask::fromPainting(int width, int height,
                                  const std::function<void(QPainter&)>& paint) {
    QImage canvas(width, height, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        paint(painter);
    }
    ShapeMask mask(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mask.set(x, y, qRed(canvas.pixel(x, y)) > 127);
    return mask;
}

ShapeMask ShapeMask::fromPath(int width, int height, const QPainterPath& path) {
    return fromPainting(width, height, [&](QPainter& painter) { painter.drawPath(path); });
}

bool ShapeMask::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return false;
    return bits_[static_cast<size_t>(y * width_ + x)] != 0;
}

void ShapeMask::set(int x, int y, bool inside) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    bits_[static_cast<size_t>(y * width_ + x)] = inside ? 1 : 0;
}

bool ShapeMask::isEmpty() const {
    return std::none_of(bits_.begin(), bits_.end(), [](unsigned char b) { return b != 0; });
}

QRect ShapeMask::bounds() const {
    QRect box;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (at(x, y))
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

bool ShapeMask::isBorder(int x, int y) const {
    return at(x, y) && (!at(x - 1, y) || !at(x + 1, y) || !at(x, y - 1) || !at(x, y + 1));
}

ShapeMask ShapeMask::grown() const {
    ShapeMask result(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (at(x + dx, y + dy))
                        result.set(x, y);
    return result;
}

ShapeMask ShapeMask::shifted(int dx, int dy) const {
    ShapeMask result(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            result.set(x, y, at(x - dx, y - dy));
    return result;
}

ShapeMask ShapeMask::united(const ShapeMask& other) const {
    ShapeMask result(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            result.set(x, y, at(x, y) || other.at(x, y));
    return result;
}

ShapeMask ShapeMask::minus(const ShapeMask& other) const {
    ShapeMask result(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            result.set(x, y, at(x, y) && !other.at(x, y));
    return result;
}

ShapeMask polygonShape(int width, int height, const QPolygonF& polygon) {
    return ShapeMask::fromPainting(width, height,
                                   [&](QPainter& painter) { painter.drawPolygon(polygon); });
}

ShapeMask strokeShape(int width, int height, const QPainterPath& path, double penWidth,
                      Qt::PenCapStyle cap) {
    return ShapeMask::fromPainting(width, height, [&](QPainter& painter) {
        painter.setPen(QPen(Qt::white, penWidth, Qt::SolidLine, cap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    });
}

ShapeMask ShapeMask::intersected(const ShapeMask& other) const {
    return minus(minus(other));
}

QColor mix(const QColor& from, const QColor& to, double amount) {
    auto channel = [amount](int a, int b) {
        return std::clamp(static_cast<int>(std::lround(a + (b - a) * amount)), 0, 255);
    };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

QColor lighter(const QColor& colour, double amount) {
    return mix(colour, Qt::white, amount);
}
QColor darker(const QColor& colour, double amount) {
    return mix(colour, Qt::black, amount);
}

QColor greyOf(const QColor& colour) {
    const int level =
        std::clamp(static_cast<int>(std::lround(0.30 * colour.red() + 0.55 * colour.green() +
                                                0.15 * colour.blue())),
                   0, 255);
    return QColor(level, level, level);
}

Shading shadingFor(const QColor& base) {
    return {darker(base, 0.62), lighter(base, 0.6), lighter(base, 0.22), darker(base, 0.12),
            darker(base, 0.36)};
}

Shading greyed(const Shading& shading) {
    return {greyOf(shading.outline), greyOf(shading.highlight), greyOf(shading.top),
            greyOf(shading.bottom), greyOf(shading.shade)};
}

void paintShaded(QImage& image, const ShapeMask& shape, const Shading& shading, QPoint offset) {
    const QRect box = shape.bounds();
    if (box.isEmpty())
        return;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (!shape.at(x, y))
                continue;
            QColor colour;
            if (shape.isBorder(x, y)) {
                colour = shading.outline;
            } else {
                // Which side the nearest border lies on decides between light and shade.
                int towardsLight = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if ((dx || dy) && shape.isBorder(x + dx, y + dy))
                            towardsLight -= dx + dy;
                const double t =
                    box.height() > 1 ? double(y - box.top()) / double(box.height() - 1) : 0.0;
                if (towardsLight > 0)
                    colour = shading.highlight;
                else if (towardsLight < 0)
                    colour = shading.shade;
                else
                    colour = mix(shading.top, shading.bottom, t);
            }
            const QPoint at(x + offset.x(), y + offset.y());
            if (image.rect().contains(at))
                image.setPixel(at, colour.rgb());
        }
    }
}

void paintBall(QImage& image, const ShapeMask& shape, const Shading& shading, QPointF light,
               QPoint offset) {
    const QRect box = shape.bounds();
    if (box.isEmpty())
        return;
    const double reach = std::max(box.width(), box.height()) * 0.95;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (!shape.at(x, y))
                continue;
            QColor colour = shading.outline;
            if (!shape.isBorder(x, y)) {
                const double distance =
                    std::hypot(x + 0.5 - light.x(), y + 0.5 - light.y()) / reach;
                colour = distance < 0.16   ? shading.highlight
                         : distance < 0.45 ? shading.top
                         : distance < 0.72 ? shading.bottom
                                           : shading.shade;
            }
            const QPoint at(x + offset.x(), y + offset.y());
            if (image.rect().contains(at))
                image.setPixel(at, colour.rgb());
        }
    }
}

void paintExtruded(QImage& image, const ShapeMask& front, const Shading& frontShading,
                   const Shading& sides, int depth, const QColor& shadow, QPoint offset) {
    ShapeMask body = front;
    for (int step = 1; step <= depth; ++step)
        body = body.united(front.shifted(step, step));
    paintFlat(image, body.shifted(2, 2).minus(body), shadow, offset);
    paintShaded(image, body, sides, offset);
    paintShaded(image, front, frontShading, offset);
}

void paintFlat(QImage& image, const ShapeMask& shape, const QColor& colour, QPoint offset) {
    for (int y = 0; y < shape.height(); ++y)
        for (int x = 0; x < shape.width(); ++x)
            if (shape.at(x, y) && image.rect().contains(x + offset.x(), y + offset.y()))
                image.setPixel(x + offset.x(), y + offset.y(), colour.rgb());
}

void paintEmbossed(QImage& image, const ShapeMask& shape, QPoint offset) {
    paintFlat(image, shape.shifted(1, 1).minus(shape), Qt::white, offset);
    paintFlat(image, shape, QColor(0x80, 0x80, 0x80), offset);
}

QImage filled(int width, int height, const QColor& colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour.rgb());
    return image;
}

QImage sideBySide(const std::vector<QImage>& frames) {
    int width = 0;
    for (const QImage& frame : frames)
        width += frame.width();
    const int height = frames.empty() ? 0 : frames.front().height();
    QImage strip(width, height, QImage::Format_RGB32);
    strip.fill(Qt::black);
    QPainter painter(&strip);
    int x = 0;
    for (const QImage& frame : frames) {
        painter.drawImage(x, 0, frame);
        x += frame.width();
    }
    return strip;
}

QFont letteringFont(int pixelSize) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setBold(true);
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

int Lettering::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    return level[static_cast<size_t>(y * width + x)];
}

ShapeMask Lettering::solid() const {
    ShapeMask mask(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mask.set(x, y, at(x, y) >= 2);
    return mask;
}

Lettering letter(const QString& text, const QFont& font, int width, int height) {
    QImage canvas(width, height, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    const QFontMetrics metrics(font);
    const QRect ink = metrics.tightBoundingRect(text);
    const int capHeight = metrics.tightBoundingRect(QStringLiteral("H")).height();
    const int x = (width - ink.width()) / 2 - ink.left();
    const int baseline = (height + capHeight) / 2;
    {
        QPainter painter(&canvas);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(x, baseline, text);
    }
    Lettering lettering;
    lettering.width = width;
    lettering.height = height;
    lettering.level.resize(static_cast<size_t>(width * height));
    for (int py = 0; py < height; ++py)
        for (int px = 0; px < width; ++px)
            lettering.level[static_cast<size_t>(py * width + px)] =
                static_cast<unsigned char>(std::lround(qAlpha(canvas.pixel(px, py)) * 3 / 255.0));
    return lettering;
}

void paintLettering(QImage& image, const Lettering& lettering, const QColor& fill,
                    const QColor& outline, QPoint offset) {
    const ShapeMask solid = lettering.solid();
    paintFlat(image, solid.grown().minus(solid), outline, offset);
    for (int y = 0; y < lettering.height; ++y) {
        for (int x = 0; x < lettering.width; ++x) {
            const int level = lettering.at(x, y);
            const QPoint at(x + offset.x(), y + offset.y());
            if (level == 0 || !image.rect().contains(at))
                continue;
            const QColor under = QColor(image.pixel(at));
            image.setPixel(at, mix(under, fill, level / 3.0).rgb());
        }
    }
}

int countColours(const QImage& image) {
    std::map<QRgb, int> seen;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            seen[image.pixel(x, y) & 0xFFFFFFu] = 1;
    return static_cast<int>(seen.size());
}

namespace {

struct ColourCount {
    QRgb colour;
    int count;
};

// One box of the median cut: a run of the colour list.
struct Box {
    size_t begin;
    size_t end;
};

int channelOf(QRgb colour, int channel) {
    return channel == 0 ? qRed(colour) : channel == 1 ? qGreen(colour) : qBlue(colour);
}

// The widest channel of the box and its range.
std::pair<int, int> widestChannel(const std::vector<ColourCount>& colours, const Box& box) {
    int bestChannel = 0;
    int bestRange = -1;
    for (int channel = 0; channel < 3; ++channel) {
        int low = 255;
        int high = 0;
        for (size_t i = box.begin; i < box.end; ++i) {
            low = std::min(low, channelOf(colours[i].colour, channel));
            high = std::max(high, channelOf(colours[i].colour, channel));
        }
        if (high - low > bestRange) {
            bestRange = high - low;
            bestChannel = channel;
        }
    }
    return {bestChannel, bestRange};
}

} // namespace

void reduceColours(QImage& image, int maxColours, const std::vector<QRgb>& keep) {
    std::set<QRgb> kept;
    for (QRgb colour : keep)
        kept.insert(colour & 0xFFFFFFu);
    std::map<QRgb, int> histogram;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = image.pixel(x, y) & 0xFFFFFFu;
            if (!kept.contains(colour))
                ++histogram[colour];
        }
    const int budget = maxColours - static_cast<int>(kept.size());
    if (static_cast<int>(histogram.size()) <= budget || budget <= 0)
        return;
    std::vector<ColourCount> colours;
    for (const auto& [colour, count] : histogram)
        colours.push_back({colour, count});

    std::vector<Box> boxes{{0, colours.size()}};
    while (static_cast<int>(boxes.size()) < budget) {
        // Split the box whose widest channel spans most, weighted by its pixels.
        size_t chosen = boxes.size();
        double chosenScore = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].end - boxes[i].begin < 2)
                continue;
            int pixels = 0;
            for (size_t k = boxes[i].begin; k < boxes[i].end; ++k)
                pixels += colours[k].count;
            const double score = widestChannel(colours, boxes[i]).second * std::sqrt(pixels);
            if (score > chosenScore) {
                chosenScore = score;
                chosen = i;
            }
        }
        if (chosen == boxes.size())
            break;
        const Box box = boxes[chosen];
        const int channel = widestChannel(colours, box).first;
        std::stable_sort(colours.begin() + static_cast<long>(box.begin),
                         colours.begin() + static_cast<long>(box.end),
                         [channel](const ColourCount& a, const ColourCount& b) {
                             return channelOf(a.colour, channel) < channelOf(b.colour, channel);
                         });
        int total = 0;
        for (size_t k = box.begin; k < box.end; ++k)
            total += colours[k].count;
        size_t split = box.begin + 1;
        int running = colours[box.begin].count;
        while (split < box.end - 1 && running * 2 < total) {
            running += colours[split].count;
            ++split;
        }
        boxes[chosen] = {box.begin, split};
        boxes.push_back({split, box.end});
    }

    std::map<QRgb, QRgb> replacement;
    for (const Box& box : boxes) {
        double red = 0, green = 0, blue = 0, weight = 0;
        for (size_t k = box.begin; k < box.end; ++k) {
            red += qRed(colours[k].colour) * colours[k].count;
            green += qGreen(colours[k].colour) * colours[k].count;
            blue += qBlue(colours[k].colour) * colours[k].count;
            weight += colours[k].count;
        }
        const QRgb mean = qRgb(static_cast<int>(std::lround(red / weight)),
                               static_cast<int>(std::lround(green / weight)),
                               static_cast<int>(std::lround(blue / weight)));
        for (size_t k = box.begin; k < box.end; ++k)
            replacement[colours[k].colour] = mean;
    }
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const auto found = replacement.find(image.pixel(x, y) & 0xFFFFFFu);
            if (found != replacement.end())
                image.setPixel(x, y, found->second);
        }
}

} // namespace tarnell::generator
