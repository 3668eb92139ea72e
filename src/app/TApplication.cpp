#include "app/TApplication.h"

#include <QStyleFactory>

TApplication::TApplication(int& argc, char** argv) : TFunnellingApplication(argc, argv) {
    setApplicationName(QStringLiteral("tc8-configurator"));
    // One style everywhere, so the field colours the program sets are shown as set.
    setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}
