// Configuration files: saving the editor's values with the logon password, loading them
// back, and reading the container shared with firmware files.
#include "ui/TMain.h"

#include "config/ConfigFields.h"
#include "config/ConfigFile.h"
#include "config/Container.h"
#include "config/WholeFile.h"
#include "protocol/TRecorderSession.h"
#include "ui/TEdit.h"

#include <QDir>

namespace {

const QString ConfigFileExtension = QStringLiteral("rcf");

// The desktop's counterpart of the root of drive C: where the dialogs start.
QString InitialFolder() {
    return QDir::homePath();
}

} // namespace

void TMain::SaveConfigFile() {
    const ConfigFileImage built = BuildConfigFile(Edit_haslo->text(), CurrentConfig());
    if (built.Fault != RecordFault::None) {
        ReportRecordFault(built.Fault);
        return;
    }
    Session->SetFileBuffer(built.Image);

    SaveDialog.DefaultExt = ConfigFileExtension;
    SaveDialog.InitialDir = InitialFolder();
    if (!desk().ExecuteSaveDialog(SaveDialog))
        return;
    if (!WriteWholeFile(SaveDialog.FileName, Session->FileBuffer()))
        desk().ShowMessage(MessageKind::Error, QStringLiteral("Błąd zapisu"));
}

void TMain::LoadConfigFile() {
    OpenDialog.InitialDir = InitialFolder();
    if (!desk().ExecuteOpenDialog(OpenDialog))
        return;
    if (!ReadContainerFile(OpenDialog.FileName, ConfigFileTag))
        return;
    const std::optional<ConfigFileContents> contents = ParseConfigFile(Session->FileBuffer());
    if (!contents) {
        desk().ShowMessage(MessageKind::Error, ContainerFaultMessage(ContainerFault::WrongFormat));
        return;
    }

    const ConfigRecord& record = contents->Record;
    Edit_haslo->setText(contents->Password);
    for (const ConfigField field : ConfigFileOrder)
        ShowConfigField(field, record);

    desk().Beep();
    desk().ShowMessage(MessageKind::Information, QStringLiteral("Odczytano plik konfiguracji"));
}

bool TMain::ReadContainerFile(const QString& path, QByteArrayView expectedTag) {
    // A file that cannot be opened raises EInOutError, which the program swallows.
    const ContainerFile file = ReadContainerImage(path, expectedTag);
    Session->SetFileBuffer(file.Image);
    for (const ContainerFault fault : file.Faults) {
        if (fault == ContainerFault::WrongCheckByte)
            desk().Beep();
        desk().ShowMessage(MessageKind::Error, ContainerFaultMessage(fault));
    }
    return file.Faults.isEmpty();
}

void TMain::Odczyt1Click() {
    LoadConfigFile();
}

void TMain::Zapis1Click() {
    SaveConfigFile();
}
