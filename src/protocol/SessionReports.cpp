#include "protocol/SessionReports.h"

TSessionReportText SessionReportText(TSessionReport report) {
    using K = TReportKind;
    switch (report) {
    case TSessionReport::NoAnswer:
        return {K::Error, QStringLiteral("Brak odpowiedzi z rejestratora TC-8"), true};
    case TSessionReport::ConfigReadNoAnswer:
        return {K::Error, QStringLiteral("Brak odpowiedzi z rejestratora TC-8"), false};
    case TSessionReport::WrongPassword:
        return {K::Error, QStringLiteral("Błędne hasło"), true};
    case TSessionReport::PasswordTooLong:
        return {K::Error, QStringLiteral("Hasło jest za długie"), true};
    case TSessionReport::LoggedOut:
        return {K::Information, QStringLiteral("Wylogowano z Rejestratora TC-8"), true};
    case TSessionReport::ClockSet:
        return {K::Information, QStringLiteral("Ustawiono zegar RTC"), false};
    case TSessionReport::HistoryCleared:
        return {K::Information, QStringLiteral("Historia temperatury skasowana"), false};
    case TSessionReport::FirmwareStarting:
        return {K::Warning, QStringLiteral("NIE WYŁĄCZAJ STEROWNIKA KVAM Z ZASILANIA"), true};
    case TSessionReport::FirmwareNotAcknowledged:
        return {K::Error, QStringLiteral("Brak odpowiedzi z KVAM, aktualizacja nieudana"), true};
    case TSessionReport::FirmwareFinished:
        return {K::Information, QStringLiteral("Aktualizacja zakonczona"), false};
    }
    return {K::Error, {}, false};
}
