#pragma once

#include <QCoreApplication>
#include <QStringList>
#include <exception>

// The test program's application object. Like the real one it catches in notify() whatever
// escapes an event handler; it records the message so tests can see what reached the
// program-wide handler.
class TSerialTestApp : public QCoreApplication {
public:
    TSerialTestApp(int& argc, char** argv) : QCoreApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QCoreApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            errors_ << QString::fromUtf8(error.what());
        }
        return false;
    }

    static TSerialTestApp& Instance() { return *static_cast<TSerialTestApp*>(instance()); }
    const QStringList& Errors() const { return errors_; }
    QStringList TakeErrors() { return std::exchange(errors_, {}); }

private:
    QStringList errors_;
};
