#pragma once

#include <QCoreApplication>
#include <exception>
#include <functional>

// The program-wide error handler, whichever application object runs: the window's
// TApplication or a front end without a window (TCoreApplication). Every exception that
// escapes an event handler, also one inside a nested event loop or a modal box, ends in
// the running application's OnException, and the program goes on.
class TErrorFunnel {
public:
    std::function<void(const std::exception&)> OnException;

    // Hands `error` to the running application's OnException, if there is one.
    static void Handle(const std::exception& error);

protected:
    ~TErrorFunnel() = default;
    void Funnel(const std::exception& error) const {
        if (OnException)
            OnException(error);
    }
};

// An application object whose notify() catches what escapes a handler and funnels it.
template <class Application>
class TFunnellingApplication : public Application, public TErrorFunnel {
public:
    TFunnellingApplication(int& argc, char** argv) : Application(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return Application::notify(receiver, event);
        } catch (const std::exception& error) {
            Funnel(error);
        } catch (...) {
            // Not one of ours and not a standard error: nothing to tell the user.
        }
        return false;
    }
};

// The application object of a program or test without a window.
using TCoreApplication = TFunnellingApplication<QCoreApplication>;
