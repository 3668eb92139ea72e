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
        HandleException(error);
    } catch (...) {
        // Not one of ours and not a standard error: nothing to tell the user.
    }
    return false;
}

void TApplication::HandleException(const std::exception& error) {
    auto* app = qobject_cast<TApplication*>(QCoreApplication::instance());
    if (app != nullptr && app->OnException)
        app->OnException(error);
}
