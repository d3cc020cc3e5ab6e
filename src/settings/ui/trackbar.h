#pragma once
// A horizontal slider that reports a scroll the way the dialog's handler expects one:
// on every value change and also at the end of tracking (mouse or key released), so that
// touching the thumb without moving it still writes the value the thumb stands for.

#include <QSlider>

namespace lumeno {

class Trackbar final : public QSlider {
    Q_OBJECT

public:
    explicit Trackbar(QWidget* parent = nullptr);

    // Range first; the position is clamped into it. The page size follows the range, a
    // fifth of it, as trackbars do by default.
    void SetRange(int min, int max);

    // Where the thumb is drawn, in the trackbar's coordinates.
    QRect HandleRect() const;

signals:
    void scrolled();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};

} // namespace lumeno
