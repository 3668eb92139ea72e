// The desktop the program runs on: Qt's own dialogs, driven as a user would.
#include "ui/QtDesktop.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The desktop's own save dialog, as the user sees it: a file that exists is taken at once.
TEST(QtDesktopSaveDialog, TakesAnExistingFileWithoutAskingToReplaceIt) {
    QTemporaryDir folder;
    const QString existing = folder.filePath(QStringLiteral("chlodnia.rcf"));
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    QStringList questions;
    bool chosen = false;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            questions << box->text();
            box->reject();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (chosen) {
                dialog->reject();
                return;
            }
            chosen = true;
            dialog->selectFile(existing);
            // Queued, as the button's click would be: a question asked inside must not
            // hold up this timer.
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
    });
    user.start(10);

    QtDesktop desktop;
    FileDialog save;
    save.Filter = QStringLiteral("TC-8 konfiguracja|*.rcf");
    save.DefaultExt = QStringLiteral("rcf");
    save.InitialDir = folder.path();
    EXPECT_TRUE(desktop.ExecuteSaveDialog(save));
    EXPECT_EQ(save.FileName, existing);
    EXPECT_TRUE(questions.isEmpty()) << questions.join(u'\n').toStdString();
}

} // namespace
