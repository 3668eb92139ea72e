#include "PortsFolder.h"

#include <QDir>
#include <QFile>

TPortsFolder::TPortsFolder()
    : oldDataHome_(qgetenv("XDG_DATA_HOME")),
      hadDataHome_(qEnvironmentVariableIsSet("XDG_DATA_HOME")) {
    qputenv("XDG_DATA_HOME", QFile::encodeName(home_.path()));
    QDir().mkpath(Path());
}

TPortsFolder::~TPortsFolder() {
    if (hadDataHome_)
        qputenv("XDG_DATA_HOME", oldDataHome_);
    else
        qunsetenv("XDG_DATA_HOME");
}

QString TPortsFolder::Path() const {
    return home_.path() + QStringLiteral("/tc8-configurator/ports");
}

void TPortsFolder::Link(int number, const QString& target) {
    const QString link = Path() + QStringLiteral("/COM%1").arg(number);
    QFile::remove(link);
    QFile::link(target, link);
}

QString TPortsFolder::PlainFile() const {
    const QString path = home_.path() + QStringLiteral("/plain.txt");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("not a terminal");
    return path;
}
