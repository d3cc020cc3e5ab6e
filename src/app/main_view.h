#pragma once
// The main frame's client area. It takes the keyboard focus and the arrow cursor and
// draws nothing itself: the GL surface laid over it shows the device's frames. While
// there is no engine the surface is hidden and the view's window colour shows.

#include <QWidget>

namespace lumeno {

class GlSurfaceWindow;

class CMainView final : public QWidget {
    Q_OBJECT

public:
    explicit CMainView(QWidget* parent);

    GlSurfaceWindow& Surface() const { return *m_surface; }
    // Shows or hides the GL surface; hidden, it keeps its context and size.
    void ShowSurface(bool visible);
    bool SurfaceShown() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GlSurfaceWindow* m_surface;    // owned by its container
    QWidget* m_surfaceContainer;
};

} // namespace lumeno
