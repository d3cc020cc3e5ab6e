#include "main_view.h"

#include <QVBoxLayout>

#include "gl_surface_window.h"

namespace lumeno {

CMainView::CMainView(QWidget* parent) : QWidget(parent), m_surface(new GlSurfaceWindow(*this))
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::ArrowCursor);
    // The window colour (a text area's white, not a dialog's grey): what shows where no
    // picture is, around the canvas as while there is no engine.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);

    // The container reparents the surface into this widget as a native child window.
    m_surfaceContainer = QWidget::createWindowContainer(m_surface, this);
    // Keys stay with the view: a focused container would hand them to the surface.
    m_surfaceContainer->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_surfaceContainer);
}

void CMainView::ShowSurface(bool visible) { m_surfaceContainer->setVisible(visible); }

bool CMainView::SurfaceShown() const { return !m_surfaceContainer->isHidden(); }

void CMainView::paintEvent(QPaintEvent*)
{
    // Nothing: the background fill is all the view ever paints.
}

} // namespace lumeno
