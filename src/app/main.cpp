// Lumeno: an interactive particle toy.

#include <QSurfaceFormat>

#include "main_app.h"
#include "platform/gl/gl_context.h"
#include "qt_message_box.h"
#include "settings/canvas_settings.h"
#include "working_folder.h"

int main(int argc, char** argv)
{
    // Before any context exists: a driver-cached shader would hide an effect's warnings.
    lumeno::DisableDriverShaderCache();
    // Before any widget exists, so every GL surface gets it: the device's OpenGL 3.3 core,
    // and no waiting for the display's refresh, so the frame timer alone sets the pace.
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setSwapInterval(0);
    QSurfaceFormat::setDefaultFormat(format);

    // The settings records exist before the application object; the canvas record's
    // format default probes the adapter here, before any window or context is made.
    lumeno::CanvasSettingsRecord();

    lumeno::CMainApp app(argc, argv);
    lumeno::EnterWorkingFolder();
    lumeno::InstallQtMessageBoxes([&app](bool open) { app.MessageBoxShown(open); });
    if (!app.InitInstance())
        return 1;
    return app.exec();
}
