#include "app/TApplication.h"
#include "app/TFInfo.h"
#include "app/Translations.h"
#include "app/Windows.h"
#include "firmware/TFboot.h"
#include "operations/TFhaslo_nowe.h"
#include "ui/QtDesktop.h"
#include "ui/TMain.h"

#include <memory>

int main(int argc, char** argv) {
    TApplication app(argc, argv);

    InstallPolishQtTranslations(app);

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
