#include "app/TApplication.h"

#include <QStyleFactory>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("tc8-configurator"));
    // One style everywhere, so the field colours the program sets are shown as set.
    setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (OnException)
            OnException(error);
    } catch (...) {
        // Not one of ours and not a standard error: nothing to tell the user.
    }
    return false;
}
