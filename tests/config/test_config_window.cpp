// The configuration in the main window without a recorder: start-up values and marks, the
// editor's spin buttons, marks and typed fields, answers taken into the fields, and
// configuration files saved and loaded through the file dialogs.
#include "Bytes.h"
#include "MainAccess.h"
#include "ScriptedDesktop.h"
#include "WaitFor.h"
#include "config/ConfigFile.h"
#include "config/ConfigRecord.h"
#include "config/Container.h"
#include "protocol/AnsiCodec.h"
#include "protocol/Frame.h"
#include "ui/Colors.h"
#include "ui/TEdit.h"
#include "ui/TMain.h"
#include "ui/TSpinButton.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

namespace {

const QByteArray ExampleFile = QByteArray::fromHex("726366000000000000848A0000011068");

// Types each character as a key press carrying it.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &release);
    }
}

void pressBackspace(QWidget* widget, int times) {
    for (int i = 0; i < times; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
    }
}

class ConfigWindow : public ::testing::Test {
protected:
    ScriptedDesktop desktop;
    TMain window{desktop};
    QTemporaryDir folder;

    QString path(const QString& name) const { return folder.filePath(name); }

    void writeFile(const QString& name, const QByteArray& contents) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(contents), contents.size());
    }

    QByteArray readFile(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // An answer as it comes off the line: through the frame layer and the dispatcher.
    void receive(std::uint8_t code, const QByteArray& payload) {
        Inside(window).ExtractFrame(BuildResponseFrame(code, payload));
    }

    // Runs a menu item from the event loop, as a click on it would, and waits until its
    // handler has returned.
    void trigger(QAction* item) {
        bool done = false;
        QTimer::singleShot(0, item, [item, &done] {
            done = true;
            item->trigger();
        });
        ASSERT_TRUE(WaitFor([&done] { return done; }));
        QCoreApplication::processEvents();
    }

    void load(const QString& name) {
        desktop.FileAnswers.push_back(path(name));
        trigger(window.Odczyt1);
    }

    void save(const QString& name) {
        desktop.FileAnswers.push_back(path(name));
        trigger(window.Zapis1);
    }

    QList<TEdit*> configFields() const {
        return {window.TempKorekta, window.TempKorekta2, window.TempMin, window.TempMax,
                window.TempZapisz,  window.TC8name,      window.TC8Typ,  window.TC8Nazwa,
                window.TC8Nazwa2,   window.TC8Nazwa3,    window.IleDruk};
    }

    void markAllEdited() {
        for (TEdit* field : configFields())
            field->SetColor(Colors::Red);
    }
};

TEST_F(ConfigWindow, StartsWithTheDefaultValuesAllInStep) {
    EXPECT_EQ(window.TempMin->text(), "+4");
    EXPECT_EQ(window.TempMax->text(), "+10");
    EXPECT_EQ(window.TempKorekta->text(), "+0,0");
    EXPECT_EQ(window.TempKorekta2->text(), "+0,0");
    EXPECT_EQ(window.TempZapisz->text(), "1");
    EXPECT_EQ(window.IleDruk->text(), "16");
    EXPECT_EQ(window.TC8name->text(), "Rejestrator nr.1");
    EXPECT_EQ(Inside(window).CurrentConfig(), ConfigRecord());
    for (TEdit* field : configFields())
        EXPECT_EQ(field->Color(), Colors::InStep) << field->objectName().toStdString();
    EXPECT_FALSE(window.Icon_get->isEnabled());
    EXPECT_FALSE(window.Icon_put->isEnabled());
    EXPECT_TRUE(window.Panel_bar->isHidden());
}

TEST_F(ConfigWindow, LimitSpinButtonsStepOneDegreeAndStopAtTheByteBounds) {
    receive(0x04, Bytes({1, 254}));
    ASSERT_EQ(window.TempMin->text(), "-127");
    ASSERT_EQ(window.TempMax->text(), "+126");

    window.SpinButton3->DownButton()->click();
    EXPECT_EQ(window.TempMin->text(), "-128");
    EXPECT_EQ(window.TempMin->Color(), Colors::Red);
    window.TempMin->SetColor(Colors::InStep);
    window.SpinButton3->DownButton()->click();
    EXPECT_EQ(window.TempMin->text(), "-128");
    EXPECT_EQ(Inside(window).TempMinByte, 0);
    EXPECT_EQ(window.TempMin->Color(), Colors::InStep) << "no change at the bound, no mark";

    window.SpinButton2->UpButton()->click();
    EXPECT_EQ(window.TempMax->text(), "+127");
    window.TempMax->SetColor(Colors::InStep);
    window.SpinButton2->UpButton()->click();
    EXPECT_EQ(window.TempMax->text(), "+127");
    EXPECT_EQ(window.TempMax->Color(), Colors::InStep);

    // Nothing ties the two limits together.
    receive(0x04, Bytes({147, 138}));
    window.SpinButton3->UpButton()->click();
    EXPECT_EQ(window.TempMin->text(), "+20");
    EXPECT_EQ(window.TempMax->text(), "+10");
    window.SpinButton2->DownButton()->click();
    EXPECT_EQ(window.TempMax->text(), "+9");
    EXPECT_EQ(window.TempMax->Color(), Colors::Red);
}

TEST_F(ConfigWindow, CorrectionSpinButtonsFollowTheSteppingTableAndMarkEveryClick) {
    TSpinButton* spin = window.SpinButton1;
    auto up = [spin] { spin->UpButton()->click(); };
    auto down = [spin] { spin->DownButton()->click(); };

    down();
    EXPECT_EQ(window.TempKorekta->text(), "-0,1");
    EXPECT_EQ(window.TempKorekta->Color(), Colors::Red);
    EXPECT_EQ(window.TempKorekta2->Color(), Colors::InStep) << "only the clicked one is marked";
    up();
    EXPECT_EQ(window.TempKorekta->text(), "+0,0");
    up();
    EXPECT_EQ(window.TempKorekta->text(), "+0,1");

    const struct {
        int before;
        bool up;
        const char* after;
    } steps[] = {
        // The bounds still mark the field; 255 and 128 come only from the recorder or a file.
        {127, true, "+12,7"},  {130, true, "-0,1"}, {254, false, "-12,6"}, {255, true, "-12,6"},
        {255, false, "-12,6"}, {128, true, "+0,1"}, {128, false, "-0,1"},
    };
    for (const auto& step : steps) {
        receive(0x06, Bytes({step.before}));
        ASSERT_EQ(window.TempKorekta->Color(), Colors::InStep);
        step.up ? up() : down();
        EXPECT_EQ(window.TempKorekta->text(), step.after) << step.before << " " << step.up;
        EXPECT_EQ(window.TempKorekta->Color(), Colors::Red) << step.before << " " << step.up;
    }

    // The second correction has its own button and byte.
    receive(0x08, Bytes({5}));
    window.SpinButton5->DownButton()->click();
    EXPECT_EQ(window.TempKorekta2->text(), "+0,4");
    EXPECT_EQ(Inside(window).TempKorekta2Byte, 4);
    EXPECT_EQ(window.TempKorekta2->Color(), Colors::Red);
    EXPECT_EQ(window.TempKorekta->text(), "-0,1");
}

TEST_F(ConfigWindow, IntervalSpinButtonStepsFromOneTo255AndMarksEveryClick) {
    window.SpinButton4->DownButton()->click();
    EXPECT_EQ(window.TempZapisz->text(), "1");
    EXPECT_EQ(window.TempZapisz->Color(), Colors::Red);
    window.SpinButton4->UpButton()->click();
    EXPECT_EQ(window.TempZapisz->text(), "2");

    receive(0x0A, Bytes({255, 16}));
    window.SpinButton4->UpButton()->click();
    EXPECT_EQ(window.TempZapisz->text(), "255");
    EXPECT_EQ(window.TempZapisz->Color(), Colors::Red);

    receive(0x0A, Bytes({0, 16}));
    EXPECT_EQ(window.TempZapisz->text(), "0");
    window.SpinButton4->DownButton()->click();
    EXPECT_EQ(window.TempZapisz->text(), "0");
    window.SpinButton4->UpButton()->click();
    EXPECT_EQ(window.TempZapisz->text(), "1");
}

TEST_F(ConfigWindow, ATextChangeMarksItsFieldAndTheSameTextMarksNothing) {
    for (TEdit* field :
         {window.TC8name, window.TC8Nazwa, window.TC8Nazwa2, window.TC8Nazwa3, window.TC8Typ,
          window.IleDruk, window.TempMin, window.TempMax, window.TempZapisz}) {
        field->setText(field->text());
        EXPECT_EQ(field->Color(), Colors::InStep) << field->objectName().toStdString();
        field->setText(field->text() + "1");
        EXPECT_EQ(field->Color(), Colors::Red) << field->objectName().toStdString();
    }
    // The corrections are marked by their spin buttons, not by their texts.
    for (TEdit* field : {window.TempKorekta, window.TempKorekta2}) {
        field->setText(field->text() + "1");
        EXPECT_EQ(field->Color(), Colors::InStep) << field->objectName().toStdString();
    }

    // Each field's own handler marks it; the corrections' handler marks neither.
    TMainTestAccess inside = Inside(window);
    const std::pair<void (TMainTestAccess::*)(), TEdit*> handlers[] = {
        {&TMainTestAccess::TempMinChange, window.TempMin},
        {&TMainTestAccess::TempMaxChange, window.TempMax},
        {&TMainTestAccess::TempZapiszChange, window.TempZapisz},
        {&TMainTestAccess::IleDrukChange, window.IleDruk},
        {&TMainTestAccess::TC8TypChange, window.TC8Typ},
        {&TMainTestAccess::TC8nameChange, window.TC8name},
        {&TMainTestAccess::TC8NazwaChange, window.TC8Nazwa},
        {&TMainTestAccess::TC8Nazwa2Change, window.TC8Nazwa2},
        {&TMainTestAccess::TC8Nazwa3Change, window.TC8Nazwa3},
    };
    for (const auto& [handler, field] : handlers) {
        field->SetColor(Colors::InStep);
        (inside.*handler)();
        EXPECT_EQ(field->Color(), Colors::Red) << field->objectName().toStdString();
    }
    Inside(window).TempKorektaChange();
    EXPECT_EQ(window.TempKorekta->Color(), Colors::InStep);
    EXPECT_EQ(window.TempKorekta2->Color(), Colors::InStep);
}

TEST_F(ConfigWindow, AnswersFillTheirGroupAndMarkItInStep) {
    markAllEdited();
    receive(0x04, Bytes({0, 255}));
    receive(0x06, Bytes({128}));
    receive(0x08, Bytes({255}));
    receive(0x0A, Bytes({0, 255}));
    receive(0x0C, ToAnsi(QStringLiteral("Chłodnia nr 2")));
    receive(0x0E, QByteArray(40, 'x'));
    receive(0x10, QByteArray("AB\0CD", 5));
    receive(0x12, {});
    receive(0x14, ToAnsi(QStringLiteral("Zażółć gęślą jaźń")));

    EXPECT_EQ(window.TempMin->text(), "-128");
    EXPECT_EQ(window.TempMax->text(), "+127");
    EXPECT_EQ(window.TempKorekta->text(), "+0,0");
    EXPECT_EQ(Inside(window).TempKorektaByte, 128);
    EXPECT_EQ(window.TempKorekta2->text(), "-12,7");
    EXPECT_EQ(window.TempZapisz->text(), "0");
    EXPECT_EQ(window.IleDruk->text(), "255");
    EXPECT_EQ(window.TC8name->text(), QStringLiteral("Chłodnia nr 2"));
    EXPECT_EQ(window.TC8Nazwa->text(), QString(40, 'x')) << "longer than typing allows";
    EXPECT_EQ(window.TC8Typ->text(), "AB");
    EXPECT_EQ(window.TC8Nazwa2->text(), "");
    EXPECT_EQ(window.TC8Nazwa3->text(), QStringLiteral("Zażółć gęślą jaźń"));
    for (TEdit* field : configFields())
        EXPECT_EQ(field->Color(), Colors::InStep) << field->objectName().toStdString();
}

TEST_F(ConfigWindow, AnAnswerShorterThanItsGroupChangesNothing) {
    markAllEdited();
    receive(0x04, Bytes({0}));
    receive(0x06, {});
    receive(0x08, {});
    receive(0x0A, Bytes({7}));
    EXPECT_EQ(Inside(window).CurrentConfig(), ConfigRecord());
    for (TEdit* field : {window.TempMin, window.TempMax, window.TempKorekta, window.TempKorekta2,
                         window.TempZapisz, window.IleDruk})
        EXPECT_EQ(field->Color(), Colors::Red) << field->objectName().toStdString();
}

class ConfigWindowTyping : public ConfigWindow {
protected:
    void SetUp() override {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(WaitFor([this] { return window.isActiveWindow(); }));
    }

    void focus(QWidget* field) {
        field->setFocus();
        ASSERT_TRUE(WaitFor([field] { return field->hasFocus(); }));
    }
};

TEST_F(ConfigWindowTyping, ReportCountTakesDigitsAndPlusOnlyAndComesBackAsSixteenWhenLeftEmpty) {
    focus(window.IleDruk);
    pressBackspace(window.IleDruk, 2);
    ASSERT_EQ(window.IleDruk->text(), "");
    EXPECT_EQ(window.IleDruk->Color(), Colors::Red);
    typeText(window.IleDruk, QStringLiteral("a-x.,"));
    EXPECT_EQ(window.IleDruk->text(), "");
    typeText(window.IleDruk, QStringLiteral("+1"));
    EXPECT_EQ(window.IleDruk->text(), "+1");
    typeText(window.IleDruk, QStringLiteral("2"));
    EXPECT_EQ(window.IleDruk->text(), "+1") << "two characters at most";

    pressBackspace(window.IleDruk, 2);
    window.IleDruk->SetColor(Colors::InStep);
    focus(window.TC8Nazwa);
    EXPECT_EQ(window.IleDruk->text(), "16");
    EXPECT_EQ(window.IleDruk->Color(), Colors::Red);

    // Leaving a non-empty field keeps what is there.
    focus(window.IleDruk);
    pressBackspace(window.IleDruk, 1);
    focus(window.TC8Nazwa);
    EXPECT_EQ(window.IleDruk->text(), "1");
}

TEST_F(ConfigWindowTyping, TextsAreLimitedWhenTypedAndRefuseWhatTheCodePageCannotHold) {
    const struct {
        TEdit* field;
        int limit;
    } limits[] = {{window.TC8Nazwa, 29},
                  {window.TC8Nazwa2, 29},
                  {window.TC8Nazwa3, 29},
                  {window.TC8Typ, 8},
                  {window.TC8name, 12}};
    for (const auto& [field, limit] : limits) {
        focus(field);
        field->setText(QString());
        typeText(field, QString(40, QLatin1Char('w')));
        EXPECT_EQ(field->text().size(), limit) << field->objectName().toStdString();
        EXPECT_EQ(field->Color(), Colors::Red);
    }

    focus(window.TC8Nazwa);
    window.TC8Nazwa->setText(QString());
    typeText(window.TC8Nazwa, QStringLiteral("Łódź→中 €"));
    EXPECT_EQ(window.TC8Nazwa->text(), QStringLiteral("Łódź €"));
}

TEST_F(ConfigWindow, TheExampleFileLoadsAndMarksWhatItChanged) {
    writeFile("example.rcf", ExampleFile);
    window.TempKorekta->SetColor(Colors::Red);
    load("example.rcf");

    EXPECT_EQ(desktop.Log, (QStringList{"beep", "Information: Odczytano plik konfiguracji"}));
    EXPECT_EQ(window.Edit_haslo->text(), "");
    ConfigRecord expected;
    expected.TC8name.clear();
    EXPECT_EQ(Inside(window).CurrentConfig(), expected);
    EXPECT_EQ(window.TC8name->Color(), Colors::Red);
    EXPECT_EQ(window.TempMin->Color(), Colors::InStep) << "same text, mark kept";
    EXPECT_EQ(window.IleDruk->Color(), Colors::InStep);
    EXPECT_EQ(window.TempKorekta->Color(), Colors::Red) << "corrections keep their marks";
    EXPECT_EQ(window.TempKorekta2->Color(), Colors::InStep);
    EXPECT_EQ(Inside(window).FileBuffer, ExampleFile);

    // Saved again unchanged, it comes back byte for byte.
    save("again.rcf");
    EXPECT_EQ(readFile("again.rcf"), ExampleFile);
}

TEST_F(ConfigWindow, SavingTheStartUpValuesGivesThirtySixBytes) {
    save("default");
    ASSERT_EQ(desktop.FileDialogsShown.size(), 1u);
    EXPECT_EQ(desktop.FileDialogsShown[0].DefaultExt, "rcf");
    EXPECT_EQ(desktop.FileDialogsShown[0].Filter, "TC-8 konfiguracja|*.rcf");
    const QByteArray saved = readFile("default");
    EXPECT_EQ(saved, BuildConfigFile("0157", ConfigRecord()).Image);
    EXPECT_EQ(saved.size(), 36);
    EXPECT_TRUE(saved.startsWith(Bytes({0x72, 0x63, 0x66, 0x04})));
    EXPECT_TRUE(desktop.Log.isEmpty());

    // Saving again to the same name replaces the file without asking.
    window.SpinButton3->UpButton()->click();
    save("default");
    EXPECT_EQ(readFile("default").at(29), '\x85'); // TempMin
    EXPECT_TRUE(desktop.Log.isEmpty());
}

TEST_F(ConfigWindow, SaveAndLoadKeepEveryFieldPolishLettersIncluded) {
    window.Edit_haslo->setText("9876");
    receive(0x04, Bytes({0, 255}));
    receive(0x06, Bytes({128}));
    receive(0x08, Bytes({255}));
    receive(0x0A, Bytes({0, 255}));
    window.TC8name->setText(QStringLiteral("Łódź Bałuty"));
    window.TC8Typ->setText(QStringLiteral("ŻÓŁW"));
    window.TC8Nazwa->setText(QStringLiteral("Zażółć gęślą jaźń"));
    window.TC8Nazwa2->setText(QStringLiteral("ZAŻÓŁĆ GĘŚLĄ JAŹŃ"));
    window.TC8Nazwa3->setText(QStringLiteral("€ „cudzysłów” – ©"));
    const ConfigRecord saved = Inside(window).CurrentConfig();
    save("polish.rcf");
    ASSERT_TRUE(desktop.Log.isEmpty());
    EXPECT_TRUE(readFile("polish.rcf").contains("\xA3\xF3\x64\x9F"));

    ScriptedDesktop otherDesktop;
    TMain other(otherDesktop);
    otherDesktop.FileAnswers.push_back(path("polish.rcf"));
    bool done = false;
    QTimer::singleShot(0, other.Odczyt1, [&] {
        other.Odczyt1->trigger();
        done = true;
    });
    ASSERT_TRUE(WaitFor([&done] { return done; }));
    EXPECT_EQ(otherDesktop.Log, (QStringList{"beep", "Information: Odczytano plik konfiguracji"}));
    EXPECT_EQ(Inside(other).CurrentConfig(), saved);
    EXPECT_EQ(other.Edit_haslo->text(), "9876");
    EXPECT_EQ(other.TempKorekta->text(), "+0,0");
    EXPECT_EQ(other.TempKorekta2->text(), "-12,7");
}

TEST_F(ConfigWindow, AFileWithAFaultReportsItAndAppliesNothing) {
    const QByteArray good = BuildConfigFile("1111", ConfigRecord()).Image;
    const QByteArray body = ContainerBody(good);
    QByteArray badTag = good;
    badTag[1] = 'C';
    QByteArray badBody = good;
    badBody[9] = static_cast<char>(badBody[9] ^ 0x40);
    // The check byte is right, but the name's length byte promises 40 bytes and 2 follow.
    const QByteArray shortBody = BuildContainer("rcf", Bytes({0, 0, 0, 0, 40, 0x84, 0x8A}));
    const QByteArray tooLarge =
        BuildContainer("rcf", body + QByteArray(16385 - 4 - body.size(), 'z'));
    const struct {
        const char* name;
        QByteArray contents;
        QStringList log;
    } cases[] = {
        {"bad-tag.rcf",
         badTag,
         {"Error: Zly format pliku", "beep", "Error: Bląd CRC pliku konfiguracji"}},
        {"bad-body.rcf", badBody, {"beep", "Error: Bląd CRC pliku konfiguracji"}},
        {"capital.rcf", BuildContainer("RCF", body), {"Error: Zly format pliku"}},
        {"firmware.rfr", BuildContainer("rfr", body), {"Error: Zly format pliku"}},
        {"short-body.rcf", shortBody, {"Error: Zly format pliku"}},
        {"too-large.rcf", tooLarge, {"Error: Zly format pliku"}},
        {"empty.rcf", {}, {"Error: Zly format pliku"}},
    };
    for (const auto& fileCase : cases) {
        writeFile(fileCase.name, fileCase.contents);
        desktop.Log.clear();
        load(fileCase.name);
        EXPECT_EQ(desktop.Log, fileCase.log) << fileCase.name;
        EXPECT_EQ(Inside(window).CurrentConfig(), ConfigRecord()) << fileCase.name;
        EXPECT_EQ(window.Edit_haslo->text(), "0157") << fileCase.name;
    }

    // The largest file the buffer holds still loads; bytes after IleDruk are ignored.
    writeFile("largest.rcf",
              BuildContainer("rcf", body + QByteArray(16384 - 4 - body.size(), 'z')));
    desktop.Log.clear();
    load("largest.rcf");
    EXPECT_EQ(desktop.Log, (QStringList{"beep", "Information: Odczytano plik konfiguracji"}));
    EXPECT_EQ(window.Edit_haslo->text(), "1111");
}

TEST_F(ConfigWindow, AReadOnlyFileLoads) {
    writeFile("read-only.rcf", BuildConfigFile("2222", ConfigRecord()).Image);
    ASSERT_TRUE(QFile::setPermissions(path("read-only.rcf"), QFile::ReadOwner | QFile::ReadGroup));
    load("read-only.rcf");
    EXPECT_EQ(window.Edit_haslo->text(), "2222");
}

TEST_F(ConfigWindow, CancelledDialogsChangeNothing) {
    desktop.FileAnswers.push_back(std::nullopt);
    trigger(window.Zapis1);
    desktop.FileAnswers.push_back(std::nullopt);
    trigger(window.Odczyt1);
    EXPECT_EQ(desktop.FileDialogsShown.size(), 2u);
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
    EXPECT_TRUE(desktop.Log.isEmpty());
    EXPECT_EQ(Inside(window).CurrentConfig(), ConfigRecord());
}

TEST_F(ConfigWindow, ARecordThatCannotBeSavedIsRefusedBeforeTheDialog) {
    writeFile("old.rcf", ExampleFile);
    for (const char* text : {"+", "1+", ""}) {
        window.IleDruk->setText(text);
        desktop.Log.clear();
        save("old.rcf");
        EXPECT_EQ(desktop.Log,
                  (QStringList{"beep", "Error: Nieprawidłowa liczba raportów do wydruku"}));
    }
    window.IleDruk->setText("16");
    window.TC8Nazwa3->setText(QString(256, u'x'));
    desktop.Log.clear();
    save("old.rcf");
    EXPECT_EQ(desktop.Log, (QStringList{"beep", "Error: Tekst konfiguracji jest za długi"}));
    EXPECT_TRUE(desktop.FileDialogsShown.empty());
    EXPECT_EQ(readFile("old.rcf"), ExampleFile);
}

TEST_F(ConfigWindow, AFailedSaveIsReportedAndLeavesTheOldFileAsItWas) {
    ASSERT_TRUE(QDir(folder.path()).mkdir("a-folder"));
    save("a-folder");
    EXPECT_EQ(desktop.Log, QStringList{"Error: Błąd zapisu"});

    // A write cut short by the file size limit must not replace the old file.
    writeFile("old.rcf", ExampleFile);
    desktop.Log.clear();
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction previousAction {};
    ASSERT_EQ(sigaction(SIGXFSZ, &ignore, &previousAction), 0);
    rlimit previousLimit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previousLimit), 0);
    rlimit small = previousLimit;
    small.rlim_cur = 20;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    save("old.rcf");
    setrlimit(RLIMIT_FSIZE, &previousLimit);
    sigaction(SIGXFSZ, &previousAction, nullptr);

    EXPECT_EQ(desktop.Log, QStringList{"Error: Błąd zapisu"});
    EXPECT_EQ(readFile("old.rcf"), ExampleFile);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"old.rcf"});
}

} // namespace
