#pragma once

#include <QGenericPlugin>
#include <QObject>

// A Qt generic plugin that the start-up benchmark has the real configurator load
// (QT_QPA_GENERIC_PLUGINS): it watches the application's events and, once the main window
// has been painted for the first time, prints "SHOWN <monotonic ns>" and ends the program
// normally a moment later. The program itself is not changed in any way.
class StartupProbePlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "StartupProbe.json")
public:
    QObject* create(const QString& key, const QString& parameters) override;
};

class StartupProbe : public QObject {
    Q_OBJECT
public:
    StartupProbe();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Report();
    bool painted_ = false;
};
