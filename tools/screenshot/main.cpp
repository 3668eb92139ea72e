// tc8-screenshot FILE.png: shows the main window as the program starts and saves a picture
// of it. Needs a display (for example xvfb-run).
#include "app/TApplication.h"
#include "ui/QtDesktop.h"
#include "ui/TMain.h"

#include <QDeadlineTimer>
#include <QPixmap>
#include <QWindow>
#include <cstdio>

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tc8-screenshot FILE.png\n");
        return 2;
    }
    QtDesktop desktop;
    TMain window(desktop);
    desktop.SetParentWindow(&window);
    window.show();

    QDeadlineTimer deadline(10000);
    while (!(window.windowHandle() != nullptr && window.windowHandle()->isExposed())) {
        if (deadline.hasExpired()) {
            std::fprintf(stderr, "tc8-screenshot: the window never appeared\n");
            return 1;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    QCoreApplication::processEvents();

    const QString path = QString::fromLocal8Bit(argv[1]);
    if (!window.grab().save(path, "PNG")) {
        std::fprintf(stderr, "tc8-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
