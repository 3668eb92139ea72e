#pragma once

#include <QApplication>
#include <exception>
#include <functional>

// The application object. Every event, also those handled inside nested event loops and
// modal boxes, passes through notify(); an exception that escapes a handler is caught there
// and given to OnException, so the program goes on.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    std::function<void(const std::exception&)> OnException;

    // Hands `error` to the running application's OnException, if there is one.
    static void HandleException(const std::exception& error);
};
