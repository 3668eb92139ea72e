#include "ShotDesktop.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {

bool onScreen(const QWidget* widget) {
    return widget != nullptr && widget->isVisible() && widget->windowHandle() != nullptr &&
           widget->windowHandle()->isExposed();
}

// Runs `action` with the widget that `find` returns, as soon as that widget is on the screen.
void whenOnScreen(const std::function<QWidget*()>& find,
                  const std::function<void(QWidget&)>& action) {
    auto* poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, find, action] {
        QWidget* widget = find();
        if (!onScreen(widget))
            return;
        poll->stop();
        poll->deleteLater();
        QCoreApplication::processEvents();
        action(*widget);
    });
    poll->start();
}

} // namespace

bool ShotDesktop::Save(QWidget& widget, const QString& fileName) {
    if (!widget.grab().save(output_.filePath(fileName), "PNG")) {
        Failures << QStringLiteral("cannot write %1").arg(output_.filePath(fileName));
        return false;
    }
    PicturesWritten << fileName;
    return true;
}

bool ShotDesktop::SaveScreenArea(const QRect& area, const QString& fileName) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPixmap shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    if (shot.isNull() || !shot.save(output_.filePath(fileName), "PNG")) {
        Failures << QStringLiteral("cannot write %1").arg(output_.filePath(fileName));
        return false;
    }
    PicturesWritten << fileName;
    return true;
}

bool ShotDesktop::SavePdfFirstPage(const QString& pdfPath, const QString& fileName) {
    const QString target = output_.filePath(fileName);
    QProcess render;
    // pdftoppm adds the extension itself.
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("90"),
                  QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1"),
                  QStringLiteral("-l"), QStringLiteral("1"), pdfPath,
                  target.chopped(QStringLiteral(".png").size())});
    if (!render.waitForFinished(60000) || render.exitStatus() != QProcess::NormalExit ||
        render.exitCode() != 0) {
        Failures << QStringLiteral("cannot render %1 (pdftoppm, from poppler-utils)").arg(pdfPath);
        return false;
    }
    PicturesWritten << fileName;
    return true;
}

void ShotDesktop::ShowMessage(MessageKind kind, const QString& text, const QString& detail) {
    MessagesShown << text;
    const QString fileName = MessageShots.value(text);
    whenOnScreen(
        [text]() -> QWidget* {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            return box != nullptr && box->text() == text ? box : nullptr;
        },
        [this, fileName](QWidget& box) {
            if (!fileName.isEmpty())
                Save(box, fileName);
            static_cast<QMessageBox&>(box).accept();
        });
    QtDesktop::ShowMessage(kind, text, detail);
}

bool ShotDesktop::ExecuteOpenDialog(FileDialog& dialog) {
    if (OpenAnswer.isEmpty())
        return false;
    dialog.FileName = OpenAnswer;
    return true;
}

bool ShotDesktop::ExecuteSaveDialog(FileDialog& dialog) {
    if (SaveAnswer.isEmpty())
        return false;
    dialog.FileName = SaveAnswer;
    return true;
}

int ShotDesktop::ShowModal(QDialog& dialog) {
    QPointer<QDialog> target(&dialog);
    const auto script = DialogScripts.value(dialog.objectName());
    whenOnScreen([target]() -> QWidget* { return target.data(); },
                 [script](QWidget& shown) {
                     auto& up = static_cast<QDialog&>(shown);
                     if (script)
                         script(up);
                     else
                         up.reject();
                 });
    return dialog.exec();
}
