#pragma once

#include <QDialog>

class Desktop;
class QLabel;
class QPushButton;

// The about box ("O programie"): the program's picture, name and version, its authors and
// a link to the project's web page, which opens in the desktop's browser.
class TFInfo : public QDialog {
    Q_OBJECT
public:
    TFInfo(Desktop& desktop, QWidget* owner);

    // The web page behind the link label.
    static const QString ProjectUrl;

    QLabel* Image1 = nullptr; // the framed picture
    QLabel* Label1 = nullptr; // "Konfigurator TC-8 v1.0"
    QLabel* Label2 = nullptr; // the authors
    QLabel* Label3 = nullptr; // the link
    QPushButton* Button1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Label3Click();

    Desktop& desktop_;
};
