#include "app/TApplication.h"
#include "app/TFInfo.h"
#include "app/Windows.h"
#include "firmware/TFboot.h"
#include "operations/TFhaslo_nowe.h"
#include "ui/QtDesktop.h"
#include "ui/TMain.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    TApplication app(argc, argv);

    // Qt's own texts (file dialogs, standard buttons) in Polish like the rest of the program.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Polish), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);

    QtDesktop desktop;
    auto mainWindow = std::make_unique<TMain>(desktop);
    Main = mainWindow.get();
    desktop.SetParentWindow(Main);
    Fhaslo_nowe = new TFhaslo_nowe(*Main, Main);
    Fboot = new TFboot(*Main, Main);
    FInfo = new TFInfo(desktop, Main);

    Main->show();
    const int result = app.exec();
    Main = nullptr;
    return result;
}
