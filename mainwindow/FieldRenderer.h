// The field renderer: draws the puzzle field as a board of diamond plates, with the counts
// of opened cells on flags and the found foxes. It draws from the images handed to it, so
// the generator's board preview is drawn by it too.
#pragma once

#include "core/Puzzle.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QStaticText>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class QPainter;

namespace tarnell {

// The three variants of one kind of plate and the mask they share.
struct TPlateImages {
    QImage Plain;       // green
    QImage Current;     // cyan: the cell under the pointer
    QImage Highlighted; // amber: opened, found, or proven fox-free while hints are shown
    QImage Mask;        // white where the plate is
};

// Every image the field is drawn from. Shapes stand on a white (fox: near-white) ground.
struct TFieldImages {
    TPlateImages Inner;      // PLATE, PLATEB, PLATEY, MASKP: 41 x 23
    TPlateImages LastRow;    // PLATE_L, PLATE_LB, PLATE_LY, MASK_L: 41 x 25, left side face
    TPlateImages LastColumn; // PLATE_R, PLATE_RB, PLATE_RY, MASK_R: 41 x 25, right side face
    QImage Flag;             // FLAG: 15 x 19, pole in column 0, cloth in the top 12 rows
    QImage FlagMask;         // FLAG_M
    QImage Fox;              // FOX: 20 x 15
    QImage FoxMask;          // FOX_M

    // One sentence for every image that is missing or not of its size; empty when all is well.
    QStringList problems() const;
};

// What the field shows of one cell: the variant of its plate and what stands on it.
struct TCellLook {
    enum class Plate { Plain, Current, Highlighted };
    enum class Mark { None, Flag, Fox };
    Plate plate = Plate::Plain;
    Mark mark = Mark::None;
    int count = 0; // written on the flag
    bool operator==(const TCellLook&) const = default;
};

// Everything a frame of the field is drawn from: the board's size and how each of its cells
// looks (the current cell, the hint switch and the counts are folded into the looks). Two
// equal inputs give the same frame, pixel for pixel.
struct TFrameInputs {
    int size = 0; // cells a side, at most the puzzle's largest
    // Indexed [row][col] from 1; cells beyond the size stay plain.
    std::array<std::array<TCellLook, MaxFieldSize + 1>, MaxFieldSize + 1> cells{};

    static TFrameInputs of(const TPuzzle& puzzle, bool showHints);
    bool operator==(const TFrameInputs&) const = default;
};

// Draws whole frames of the field into a 546 x 280 back buffer; the field area shows its
// top-left 401 x 225 pixels. Reads the puzzle and never writes into it.
class TFieldRenderer {
public:
    static constexpr int BufferWidth = 546;
    static constexpr int BufferHeight = 280;
    static constexpr int AreaWidth = 401;
    static constexpr int AreaHeight = 225;
    static constexpr QSize PlateSize{41, 23};
    static constexpr QSize SidePlateSize{41, 25};
    static constexpr QSize FlagSize{15, 19};
    static constexpr QSize FoxSize{20, 15};

    // Needs a running QGuiApplication (fonts).
    explicit TFieldRenderer(TFieldImages images);

    // Missing or mis-sized images (see TFieldImages::problems), for the owner to report; a
    // missing image draws nothing.
    const QStringList& imageProblems() const { return imageProblems_; }

    // Rebuilds the back buffer from the puzzle state: background, plates, then flags with
    // their counts and found foxes.
    void drawFrame(const TPuzzle& puzzle, bool showHints);
    // The same for a board of size x size cells (at most the puzzle's largest), cell (row, col)
    // drawn as lookOf(row, col) says, rows and columns counted from 1.
    void drawFrame(int size, const std::function<TCellLook(int row, int col)>& lookOf);
    void drawFrame(const TFrameInputs& inputs);
    // Whether the back buffer holds the frame of these inputs, at the current pixel ratio.
    bool holds(const TFrameInputs& inputs) const { return drawn_ && *drawn_ == inputs; }
    // The last frame; before the first one, the bare background.
    const QImage& backBuffer() const { return buffer_; }
    // Plain copy of the buffer's top-left 401 x 225 pixels with their top-left at topLeft.
    // On a device with a pixel ratio above 1 the pixel art is enlarged in sharp blocks and
    // the counts are written over it at the device's resolution, where the frame was drawn
    // with setDevicePixelRatio at that ratio (otherwise the buffer is enlarged as it is).
    void paintArea(QPainter& painter, QPoint topLeft = QPoint(0, 0)) const;

    // The device pixel ratio the frames will be shown at: above 1, each frame also keeps its
    // picture without the counts, for paintArea to write them at the device's resolution.
    void setDevicePixelRatio(qreal ratio);
    qreal devicePixelRatio() const { return ratio_; }

    // The board's CellOrigin (core/BoardGeometry.h) as a point: the top-left corner of the
    // box of the plate of cell (row, col), in field pixels.
    static QPoint cellOrigin(int row, int col);
    // From the cell origin: the flag's box (its pole's foot 2 pixels above the diamond's
    // centre), the top-left corner of the count text, and the fox's box.
    static constexpr QPoint FlagOffset{20, -10};
    static constexpr QPoint CountOffset{23, -11};
    static constexpr QPoint FoxOffset{11, 2};

private:
    struct Count {
        QPoint origin; // of its cell
        int value;
    };
    void drawCount(QPainter& painter, QPoint cell, int count) const;
    void drawCounts(QPainter& painter) const;

    TFieldImages images_;
    QStringList imageProblems_;
    QImage background_; // a row of the shown 401 pixels of the background: all rows are alike
    QImage buffer_;
    // The inputs of the frame in the buffer; none before the first one.
    std::optional<TFrameInputs> drawn_;
    // The last frame without its counts, and the counts, kept while the ratio is above 1.
    QImage pictures_;
    std::vector<Count> counts_;
    qreal ratio_ = 1.0;
    QFont countFont_;
    // The texts of the counts, laid out once per value.
    mutable QHash<int, QStaticText> countTexts_;
};

} // namespace tarnell
