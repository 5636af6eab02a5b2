// The push buttons whose whole face comes from a four-frame strip chosen by Selected, and
// that report the pointer coming onto and leaving them.
#pragma once

#include "ButtonFace.h"

#include <QStringList>
#include <vector>

namespace tarnell {

class TStripFaceButton : public TFaceButton {
    Q_OBJECT
public:
    int Selected() const { return selected_; }
    // Picks the strip; a value outside the class's range shows no frame.
    void setSelected(int value);
    // The strip that Selected picks now; a null image outside the range.
    QImage selectedStrip() const;
    // Replaces the strip that Selected value picks (to preview or test other art).
    void replaceFaceStrip(int selected, const QImage& strip);
    int firstSelected() const { return firstSelected_; }
    int lastSelected() const { return firstSelected_ + static_cast<int>(strips_.size()) - 1; }

signals:
    void OnMouseEnter();
    void OnMouseLeave();

protected:
    // Shows the strips by name (Selected firstSelected picks the first); the button measures
    // a quarter of the width and the height of sizeStrip (or fallbackSize without it).
    TStripFaceButton(GlyphImageStore& store, const QStringList& stripNames, int firstSelected,
                     const QString& sizeStrip, QSize fallbackSize, QWidget* parent);
    // The words lettered on the strips, in the order of their names (none for pictograms).
    void setFaceWords(const QStringList& words);

    QString faceText() const override;
    void paintFace(QImage& surface, bool pressed) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QStringList stripNames_;
    // Each strip as loaded when first shown (or replaced), in the order of the names.
    mutable std::vector<QImage> strips_;
    mutable std::vector<bool> loaded_;
    QStringList faceWords_;
    int firstSelected_;
    int selected_ = 0;
};

} // namespace tarnell
