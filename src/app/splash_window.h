#pragma once
// The title picture shown at start-up in a borderless window in the middle of the screen,
// until its time is up or the first key or mouse button, which it swallows. At most one
// exists; it deletes itself when it goes and is destroyed with its owner.

#include <QImage>
#include <QTimer>
#include <QWidget>

namespace lumeno {

// The title picture's resource number.
inline constexpr int kSplashBitmap = 135;
inline constexpr int kSplashDisplayMs = 6000;

class CSplashWindow final : public QWidget {
    Q_OBJECT

public:
    ~CSplashWindow() override;

    // Whether Show may show a splash in this run.
    static void Enable(bool enable);
    // Shows bitmap `bitmapId` for `displayMs`, centred over a visible owner or else on the
    // screen. False, silently, when disabled, already shown, or the bitmap is missing.
    static bool Show(int displayMs, int bitmapId, QWidget* owner);
    // For every input event before anything else sees it: true when it closed the splash
    // and must be dropped.
    static bool FilterMessage(const QEvent& event);
    // The splash on screen, null when there is none.
    static CSplashWindow* Current() { return s_current; }

    // Takes the splash off the screen for good and repaints the main window.
    void Hide();

protected:
    void paintEvent(QPaintEvent* event) override;
    // Watches a hidden owner for its show, after which the splash shows.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CSplashWindow(QImage bitmap, QWidget* owner);
    void CenterWindow(const QWidget* owner);
    void ShowNow();

    QImage m_bitmap;
    QTimer m_timer;

    static bool s_enabled;
    static CSplashWindow* s_current;
};

// The bitmap of a resource number with the title set on it, 24 bits a pixel; null when
// there is no such bitmap.
QImage LoadSplashBitmap(int bitmapId);

} // namespace lumeno
