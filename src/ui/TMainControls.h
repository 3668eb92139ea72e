#pragma once

#include "ui/Desktop.h"

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class TComboBox;
class TEdit;
class TGauge;
class TSpinButton;

// The controls of the main window, by their names in the window design. The window builds
// them (TMainLayout.cpp) and owns them through Qt's parent links; tests and the screenshot
// tool find their way by these names.
struct TMainControls {
    QMenuBar* MainMenu = nullptr;
    QMenu* Plik1 = nullptr;
    QAction* Odczyt1 = nullptr; // "Plik" -> "Odczyt"
    QAction* Zapis1 = nullptr;  // "Plik" -> "Zapis"
    QMenu* Dane1 = nullptr;
    QAction* Pobierz1 = nullptr; // "Dane" -> "Odczyt"
    QAction* Zapisz1 = nullptr;  // "Dane" -> "Zapisz"
    QMenu* Historia1 = nullptr;
    QAction* WykresTemperatur1 = nullptr; // "Historia" -> "Wykres temperatur…"
    QAction* EksportCsv1 = nullptr;       // "Historia" -> "Eksport do CSV…"
    QAction* RaportPdf1 = nullptr;        // "Historia" -> "Raport PDF…"
    QAction* DrukujRaport1 = nullptr;     // "Historia" -> "Drukuj raport…"
    QAction* TabelaOdczytow1 = nullptr;   // "Historia" -> "Raport z tabelą odczytów", checkable
    QAction* OtworzHistorie1 = nullptr;   // "Historia" -> "Otwórz plik historii…"
    QAction* ArchiwumPobran1 = nullptr;   // "Historia" -> "Archiwum pobrań…"
    QAction* ArchiwumFirmy1 = nullptr;    // "Historia" -> "Archiwum firmy…"
    QMenu* Narzedzia1 = nullptr;
    QAction* MonitorLacza1 = nullptr; // "Narzędzia" -> "Monitor łącza…"
    QMenu* Info1 = nullptr;
    QAction* Oprogramie1 = nullptr; // "Info" -> "O programie"

    QFrame* PanelKomunikacji = nullptr;
    QLabel* Label_Port = nullptr;
    TComboBox* Combo_Port = nullptr;
    QLabel* Label_haslo = nullptr;
    TEdit* Edit_haslo = nullptr;
    QPushButton* Button_polacz = nullptr;
    QPushButton* Button_rozlacz = nullptr;
    TEdit* Edit_status = nullptr;
    TEdit* Edit_logon = nullptr;
    QLabel* TextWersja = nullptr;
    QToolButton* Icon_get = nullptr;
    QToolButton* Icon_put = nullptr;

    QGroupBox* GroupBox3 = nullptr; // "Opcje TC-8"
    QPushButton* ButtonRestart = nullptr;
    QPushButton* ButtonFirmware = nullptr;
    QPushButton* Button_zmiana_hasla = nullptr;
    QPushButton* ButtonKasuj = nullptr;

    QGroupBox* GroupBox4 = nullptr; // "Ustawienia temperatury"
    QLabel* Label_Korekta1 = nullptr;
    TEdit* TempKorekta = nullptr;
    TSpinButton* SpinButton1 = nullptr;
    QLabel* Label_Korekta2 = nullptr;
    TEdit* TempKorekta2 = nullptr;
    TSpinButton* SpinButton5 = nullptr;
    QLabel* Label_Min = nullptr;
    TEdit* TempMin = nullptr;
    TSpinButton* SpinButton3 = nullptr;
    QLabel* Label_Max = nullptr;
    TEdit* TempMax = nullptr;
    TSpinButton* SpinButton2 = nullptr;
    QLabel* Label_Zapisz = nullptr;
    TEdit* TempZapisz = nullptr;
    TSpinButton* SpinButton4 = nullptr;

    QGroupBox* GroupBox7 = nullptr; // "Stan TC-8"
    QLabel* Label_Temp = nullptr;
    TEdit* Temp = nullptr;
    QLabel* Label_Temp2 = nullptr;
    TEdit* Temp2 = nullptr;
    QLabel* Label_Udc = nullptr;
    TEdit* Udc = nullptr;
    QLabel* Label_Data = nullptr;
    TEdit* Data = nullptr;
    QLabel* Label_czas = nullptr;
    TEdit* czas = nullptr;
    QPushButton* ButtonCzas = nullptr;

    QGroupBox* GroupBox1 = nullptr; // "Ustawienia wydruku"
    QLabel* Label_Naglowek1 = nullptr;
    TEdit* TC8Nazwa = nullptr;
    QLabel* Label_Naglowek2 = nullptr;
    TEdit* TC8Nazwa2 = nullptr;
    QLabel* Label_Naglowek3 = nullptr;
    TEdit* TC8Nazwa3 = nullptr;
    QLabel* Label_TypNazwa = nullptr;
    TEdit* TC8Typ = nullptr;
    QLabel* Label_Dwukropek = nullptr;
    TEdit* TC8name = nullptr;
    QLabel* Label_IleDruk = nullptr;
    TEdit* IleDruk = nullptr;

    QGroupBox* GroupBox2 = nullptr; // "Historia temperatury"
    QPushButton* ButtonPobierz = nullptr;
    QPushButton* ButtonSTOP = nullptr;
    TGauge* TempBar = nullptr;
    QPushButton* ButtonZapisz = nullptr;
    QPlainTextEdit* trm = nullptr;

    QFrame* Panel_bar = nullptr;
    QLabel* Label_Bar = nullptr;
    TGauge* Bar = nullptr;

    QFrame* Panel1 = nullptr;
    TEdit* Ruac = nullptr;
    TEdit* RUwe = nullptr;
    TEdit* Rtemp = nullptr;
    TEdit* Rtemp2 = nullptr;

    FileDialog OpenDialog;
    FileDialog SaveDialog;
};
