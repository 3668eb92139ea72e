#include "app/TApplication.h"
#include "app/TFInfo.h"
#include "app/Translations.h"
#include "firmware/TFboot.h"
#include "operations/TFhaslo_nowe.h"
#include "ui/QtDesktop.h"
#include "ui/TMain.h"

int main(int argc, char** argv) {
    TApplication app(argc, argv);

    InstallPolishQtTranslations(app);

    QtDesktop desktop;
    TMain mainWindow(desktop);
    desktop.SetParentWindow(&mainWindow);
    // The dialogs' start-up instances stay hidden, owned by the main window: each use shows
    // a fresh one.
    new TFhaslo_nowe(mainWindow, &mainWindow);
    new TFboot(mainWindow, &mainWindow);
    new TFInfo(desktop, &mainWindow);

    mainWindow.show();
    return app.exec();
}
