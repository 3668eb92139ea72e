#include "cli/CliHelp.h"

QString ProgramHelp() {
    return QStringLiteral(
        "Użycie: tc8-cli [OPCJE] POLECENIE [ARGUMENTY]\n"
        "Rejestrator temperatury TC-8 z wiersza poleceń: te same wymiany co w oknie "
        "Konfiguratora TC-8.\n"
        "\n"
        "Polecenia:\n"
        "  ports                          porty COM1 … COM8 tego komputera\n"
        "  status [--watch]               temperatury, zasilanie, data i czas rejestratora\n"
        "  config read [-o PLIK.rcf]      odczyt konfiguracji (wiersze „nazwa = wartość” "
        "albo plik)\n"
        "  config write PLIK.rcf          zapis konfiguracji z pliku do rejestratora\n"
        "  config show PLIK.rcf           zawartość pliku konfiguracji (bez rejestratora)\n"
        "  clock                          zegar rejestratora\n"
        "  clock set [--at CZAS]          ustawienie zegara: z zegara komputera albo CZAS\n"
        "  history [-o PLIK] [--format txt|csv]\n"
        "                                 pobranie całej historii temperatury\n"
        "  history clear                  skasowanie historii (pyta o zgodę)\n"
        "  restart                        restart rejestratora\n"
        "  password NOWE                  nowe hasło rejestratora (cztery cyfry)\n"
        "  firmware PLIK.rfr              aktualizacja oprogramowania (pyta o zgodę)\n"
        "  report -o PLIK.pdf [--from-file PLIK --config PLIK.rcf | --archive NR [--from ADRES]]\n"
        "         [--delay MIN] [--readings]\n"
        "                                 raport temperatur w PDF: z rejestratora, z pliku "
        "historii\n"
        "                                 albo z archiwum pobrań\n"
        "  archive list [WYBÓR]           pobrania w archiwum, z ich numerami\n"
        "  archive export (--archive NR | WYBÓR) [-o PLIK] [--format txt|csv]\n"
        "                                 pobranie z archiwum albo pobrania rejestratora "
        "połączone\n"
        "                                 w jeden ciąg, jako plik historii albo CSV\n"
        "  archive init --to ADRES        założenie archiwum firmy w bazie PostgreSQL\n"
        "  archive push --to ADRES        wysłanie do archiwum firmy pobrań jeszcze nie "
        "wysłanych\n"
        "    WYBÓR: [--from ADRES] [--recorder NAZWA] [--since RRRR-MM-DD] [--until "
        "RRRR-MM-DD]\n"
        "    ADRES: postgresql://użytkownik@serwer/baza albo service=NAZWA (hasło w "
        "~/.pgpass)\n"
        "  help [POLECENIE]               ta pomoc albo pomoc polecenia\n"
        "\n"
        "Opcje:\n"
        "  -p, --port PORT      COM1 … COM8 albo ścieżka urządzenia (domyślnie COM1)\n"
        "      --password NNNN  hasło logowania (domyślnie $TC8_PASSWORD albo 0157)\n"
        "      --json           wynik dla programów: ports, status, config, clock, archive\n"
        "  -q, --quiet          tylko błędy na stderr\n"
        "  -v, --verbose        postęp i kolejne kroki jako zwykłe wiersze\n"
        "  -y, --yes            bez pytania o zgodę (history clear, firmware)\n"
        "      --trace PLIK     każda ramka na łączu, jak w monitorze łącza, do pliku\n"
        "                       (- na stderr)\n"
        "  -h, --help           pomoc\n"
        "      --version        wersja programu\n"
        "\n"
        "Kody wyjścia: 0 wykonano, 1 inny błąd, 2 złe użycie, 3 port niedostępny,\n"
        "4 błędne hasło, 5 brak odpowiedzi, 6 plik nieczytelny lub odrzucony, 7 przerwano.\n"
        "Więcej: man tc8-cli\n");
}

QString CommandHelp(CliCommand command) {
    switch (command) {
    case CliCommand::Help:
        return ProgramHelp();
    case CliCommand::Ports:
        return QStringLiteral(
            "Użycie: tc8-cli ports [--json]\n"
            "Porty COM1 … COM8 tak, jak pokazuje je lista PORT w oknie: urządzenie i opis, "
            "„brak dostępu”,\ngdy użytkownik nie może portu otworzyć, „brak urządzenia”, gdy "
            "pod numerem nic nie ma.\nWpis COMn w ~/.local/share/tc8-configurator/ports "
            "przypisuje numer urządzeniu.\n");
    case CliCommand::Status:
        return QStringLiteral(
            "Użycie: tc8-cli status [--watch] [--json] [-p PORT]\n"
            "Temperatury T1 i T2, napięcie zasilania, data i czas rejestratora. Z --watch "
            "wiersz po każdym\nodczycie stanu, aż do Ctrl+C (kod 0).\n");
    case CliCommand::ConfigRead:
        return QStringLiteral(
            "Użycie: tc8-cli config read [-o PLIK.rcf] [--json] [-p PORT]\n"
            "Odczytuje konfigurację rejestratora i wypisuje ją jako wiersze „nazwa = "
            "wartość”, albo zapisuje\nplik konfiguracji taki, jaki zapisuje okno (z hasłem "
            "logowania).\n");
    case CliCommand::ConfigWrite:
        return QStringLiteral(
            "Użycie: tc8-cli config write PLIK.rcf [-p PORT]\n"
            "Sprawdza cały plik konfiguracji tak, jak okno, i dopiero wtedy zapisuje go do "
            "rejestratora.\nHasło z pliku nie służy do logowania: loguje --password.\n");
    case CliCommand::ConfigShow:
        return QStringLiteral("Użycie: tc8-cli config show PLIK.rcf [--json]\n"
                              "Wypisuje zawartość pliku konfiguracji; rejestrator nie jest "
                              "potrzebny.\n");
    case CliCommand::Clock:
        return QStringLiteral("Użycie: tc8-cli clock [--json] [-p PORT]\n"
                              "Wypisuje datę i czas zegara rejestratora.\n");
    case CliCommand::ClockSet:
        return QStringLiteral(
            "Użycie: tc8-cli clock set [--at 'RRRR-MM-DD GG:MM:SS'] [-p PORT]\n"
            "Ustawia zegar rejestratora według zegara komputera albo na podany czas.\n");
    case CliCommand::History:
        return QStringLiteral(
            "Użycie: tc8-cli history [-o PLIK] [--format txt|csv] [-p PORT]\n"
            "Odczytuje konfigurację, potem pobiera całą historię temperatury; pobranie trafia "
            "też do\narchiwum pobrań. txt: bajt w bajt to, co zapisuje „Zapisz do pliku”; "
            "csv: to, co daje\n„Historia” → „Eksport do CSV…”. Bez -o na standardowe wyjście. "
            "Ctrl+C zatrzymuje\npobieranie jak STOP i zapisuje to, co przyszło (kod 7).\n");
    case CliCommand::HistoryClear:
        return QStringLiteral("Użycie: tc8-cli history clear [--yes] [-p PORT]\n"
                              "Kasuje historię temperatury w rejestratorze. Pyta o zgodę; "
                              "bez terminala tylko z --yes.\n");
    case CliCommand::Restart:
        return QStringLiteral("Użycie: tc8-cli restart [-p PORT]\nRestartuje rejestrator.\n");
    case CliCommand::Password:
        return QStringLiteral("Użycie: tc8-cli password NOWE [-p PORT]\n"
                              "Zmienia hasło rejestratora na NOWE: dokładnie cztery cyfry, "
                              "bo tylko takie przyjmuje pole\nhasła przy logowaniu.\n");
    case CliCommand::Firmware:
        return QStringLiteral(
            "Użycie: tc8-cli firmware PLIK.rfr [--yes] [-p PORT]\n"
            "Aktualizuje oprogramowanie rejestratora przez jego bootloader, po sprawdzeniu "
            "pliku tak, jak\nw oknie. Pyta o zgodę; bez terminala tylko z --yes. Podczas "
            "przesyłania Ctrl+C nie przerywa.\nLogowanie nie jest potrzebne, więc da się "
            "też powtórzyć nieudaną aktualizację.\n");
    case CliCommand::Report:
        return QStringLiteral(
            "Użycie: tc8-cli report -o PLIK.pdf [--from-file PLIK --config PLIK.rcf | "
            "--archive NR [--from ADRES]]\n"
            "                       [--delay MIN] [--readings] [-p PORT]\n"
            "Raport temperatur w PDF, ten sam co „Historia” → „Raport PDF…” w oknie: "
            "nagłówek rejestratora,\nzakres, podsumowanie czujników ze średnią kinetyczną "
            "(MKT), epizody poza zakresem, wykres\ni miejsca na podpis. Bez źródła odczytuje "
            "konfigurację i pobiera historię z rejestratora\n(pobranie trafia też do "
            "archiwum). --from-file: zapisany plik historii, z nagłówkiem i zakresem\nz pliku "
            "konfiguracji --config. --archive: pobranie z archiwum (numery: tc8-cli archive "
            "list),\nz --from: z archiwum firmy.\n--delay: epizod krótszy niż MIN minut nie jest "
            "liczony (domyślnie 0). "
            "--readings: z tabelą\nwszystkich odczytów. Nie potrzebuje ekranu.\n");
    case CliCommand::ArchiveList:
        return QStringLiteral(
            "Użycie: tc8-cli archive list [--from ADRES] [--recorder NAZWA] [--since RRRR-MM-DD]\n"
            "                             [--until RRRR-MM-DD] [--json]\n"
            "Pobrania z archiwum tego użytkownika "
            "(~/.local/share/tc8-configurator/archiwum.sqlite),\nz --from z archiwum firmy "
            "(wszystkich komputerów): numer, początek pobrania, rejestrator,\npierwszy i "
            "ostatni odczyt, liczba rekordów, zakończenie. --recorder: tylko ten rejestrator\n"
            "(nazwa jak na liście); --since, --until: tylko pobrania z odczytami z tych dni.\n");
    case CliCommand::ArchiveExport:
        return QStringLiteral(
            "Użycie: tc8-cli archive export (--archive NR | --recorder NAZWA [--since RRRR-MM-DD]\n"
            "                               [--until RRRR-MM-DD]) [--from ADRES] [-o PLIK]\n"
            "                               [--format txt|csv]\n"
            "Jedno pobranie z archiwum albo wszystkie pobrania rejestratora z okresu połączone "
            "w jeden ciąg\n(odczyt obecny w kilku pobraniach raz, w kolejności czasu): txt jak "
            "„Zapisz do pliku”,\ncsv jak „Eksport do CSV…”. Z --from z archiwum firmy.\n");
    case CliCommand::ArchiveInit:
        return QStringLiteral(
            "Użycie: tc8-cli archive init --to ADRES\n"
            "Zakłada archiwum firmy (schemat tc8) w pustej bazie PostgreSQL albo uaktualnia "
            "założone;\narchiwum już założone zostaje, jak było. ADRES: "
            "postgresql://użytkownik@serwer/baza albo\nservice=NAZWA. Hasło nie może być w "
            "adresie: ~/.pgpass, PGPASSWORD albo plik usług.\n");
    case CliCommand::ArchivePush:
        return QStringLiteral(
            "Użycie: tc8-cli archive push --to ADRES\n"
            "Wysyła do archiwum firmy każde pobranie z tego komputera, którego tam jeszcze "
            "nie ma, każde\nw osobnej transakcji. Przerwane wysyłanie następnym razem "
            "wznawia się; pobranie wysłane\ndwa razy jest w archiwum firmy raz.\n");
    }
    return ProgramHelp();
}
