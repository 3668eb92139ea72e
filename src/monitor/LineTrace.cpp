#include "monitor/LineTrace.h"

#include "config/ConfigFields.h"
#include "config/ConfigGroups.h"
#include "operations/HistoryRendering.h"
#include "operations/StatusRendering.h"
#include "protocol/AnsiCodec.h"
#include "protocol/Commands.h"
#include "protocol/FirmwareVersion.h"

#include <QStringList>

namespace {

// A password travels in these requests: neither its bytes nor its text are shown.
bool CarriesPassword(const TTraceEntry& entry) {
    return IsSent(entry) && (entry.Code == Cmd::Logon || entry.Code == Cmd::ChangePassword);
}

const ConfigGroup* GroupOf(std::uint8_t code) {
    for (const ConfigGroup& group : ConfigGroups())
        if (group.ReadCode == code || group.WriteCode == code)
            return &group;
    return nullptr;
}

// "TempMin = -2, TempMax = 10" from a configuration group's payload.
QString GroupMeaning(const ConfigGroup& group, const QByteArray& payload) {
    ConfigRecord record;
    if (!ApplyConfigGroupPayload(group, payload, record))
        return QStringLiteral("za krótkie");
    QStringList fields;
    for (const ConfigField field : group.Fields)
        fields << QStringLiteral("%1 = %2").arg(ConfigFieldName(field),
                                                ConfigFieldText(record, field));
    return fields.join(QStringLiteral(", "));
}

QString TwoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QChar(u'0'));
}

QString SentMeaning(const TTraceEntry& entry) {
    const QByteArray& payload = entry.Bytes;
    switch (entry.Code) {
    case Cmd::Logon:
        return QStringLiteral("hasło ukryte");
    case Cmd::ChangePassword:
        return QStringLiteral("nowe hasło ukryte");
    case Cmd::SetClock:
        if (payload.size() < 6)
            return {};
        return QStringLiteral("20%1-%2-%3 %4:%5:%6")
            .arg(TwoDigits(static_cast<std::uint8_t>(payload[0])),
                 TwoDigits(static_cast<std::uint8_t>(payload[1])),
                 TwoDigits(static_cast<std::uint8_t>(payload[2])),
                 TwoDigits(static_cast<std::uint8_t>(payload[3])),
                 TwoDigits(static_cast<std::uint8_t>(payload[4])),
                 TwoDigits(static_cast<std::uint8_t>(payload[5])));
    case Cmd::FirmwareBlock:
        return payload.isEmpty()
                   ? QString()
                   : QStringLiteral("blok nr %1").arg(static_cast<std::uint8_t>(payload[0]));
    default:
        break;
    }
    if (const ConfigGroup* group = GroupOf(entry.Code); group && entry.Code == group->WriteCode)
        return GroupMeaning(*group, payload);
    return {};
}

QString ReceivedMeaning(const TTraceEntry& entry) {
    const QByteArray& payload = entry.Bytes;
    switch (entry.Code) {
    case Cmd::Logon: {
        if (payload.isEmpty() || payload[0] != 'T')
            return QStringLiteral("hasło odrzucone");
        const std::optional<QString> version = FirmwareVersionCaption(payload);
        return version ? QStringLiteral("hasło przyjęte, %1").arg(*version)
                       : QStringLiteral("hasło przyjęte");
    }
    case Cmd::Status: {
        const std::optional<StatusTexts> status = RenderStatus(payload);
        if (!status)
            return QStringLiteral("za krótkie");
        return QStringLiteral("T1 %1  T2 %2  %3  %4 %5")
            .arg(status->Temp, status->Temp2, status->Udc, status->Data, status->czas);
    }
    case Cmd::HistoryStart: {
        const std::optional<int> length = HistoryGaugeMaximum(payload);
        // Each record moves the gauge by 16.
        return length ? QStringLiteral("długość historii %1 (rekordów: %2)")
                            .arg(*length)
                            .arg(*length / HistoryGaugeStep)
                      : QStringLiteral("za krótkie");
    }
    case Cmd::HistoryRecord:
        return HistoryLine(payload).value_or(QStringLiteral("za krótki rekord"));
    default:
        break;
    }
    if (const ConfigGroup* group = GroupOf(entry.Code); group && entry.Code == group->ReadCode)
        return GroupMeaning(*group, payload);
    return {};
}

} // namespace

bool IsStatusPoll(const TTraceEntry& entry) {
    return (entry.Event != TraceEvent::LoneByte && entry.Event != TraceEvent::Discarded) &&
           entry.Code == Cmd::Status;
}

QString TraceCommandName(std::uint8_t code) {
    switch (code) {
    case Cmd::Logon:
        return QStringLiteral("Logowanie");
    case Cmd::Logout:
        return QStringLiteral("Wylogowanie");
    case Cmd::ChangePassword:
        return QStringLiteral("Zmiana hasła");
    case Cmd::ReadLimits:
        return QStringLiteral("Odczyt zakresu");
    case Cmd::WriteLimits:
        return QStringLiteral("Zapis zakresu");
    case Cmd::ReadCorrection1:
        return QStringLiteral("Odczyt korekty T1");
    case Cmd::WriteCorrection1:
        return QStringLiteral("Zapis korekty T1");
    case Cmd::ReadCorrection2:
        return QStringLiteral("Odczyt korekty T2");
    case Cmd::WriteCorrection2:
        return QStringLiteral("Zapis korekty T2");
    case Cmd::ReadCounts:
        return QStringLiteral("Odczyt interwału i wydruków");
    case Cmd::WriteCounts:
        return QStringLiteral("Zapis interwału i wydruków");
    case Cmd::ReadName:
        return QStringLiteral("Odczyt nazwy");
    case Cmd::WriteName:
        return QStringLiteral("Zapis nazwy");
    case Cmd::ReadHeader1:
        return QStringLiteral("Odczyt nagłówka 1");
    case Cmd::WriteHeader1:
        return QStringLiteral("Zapis nagłówka 1");
    case Cmd::ReadType:
        return QStringLiteral("Odczyt typu");
    case Cmd::WriteType:
        return QStringLiteral("Zapis typu");
    case Cmd::ReadHeader2:
        return QStringLiteral("Odczyt nagłówka 2");
    case Cmd::WriteHeader2:
        return QStringLiteral("Zapis nagłówka 2");
    case Cmd::ReadHeader3:
        return QStringLiteral("Odczyt nagłówka 3");
    case Cmd::WriteHeader3:
        return QStringLiteral("Zapis nagłówka 3");
    case Cmd::HistoryEnd:
        return QStringLiteral("Koniec historii");
    case Cmd::HistoryRecord:
        return QStringLiteral("Rekord historii");
    case Cmd::HistoryStart:
        return QStringLiteral("Start historii");
    case Cmd::SetClock:
        return QStringLiteral("Ustawienie zegara");
    case Cmd::HistoryStop:
        return QStringLiteral("Stop historii");
    case Cmd::ClearHistory:
        return QStringLiteral("Kasowanie historii");
    case Cmd::Status:
        return QStringLiteral("Stan");
    case Cmd::Restart:
        return QStringLiteral("Restart");
    case Cmd::FirmwareBlock:
        return QStringLiteral("Blok firmware");
    case Cmd::FirmwareFinish:
        return QStringLiteral("Koniec firmware");
    default:
        return QStringLiteral("nieznany kod");
    }
}

QString TraceTime(const TTraceEntry& entry) {
    return QStringLiteral("%1.%2")
        .arg(entry.Micros / 1000)
        .arg(entry.Micros % 1000, 3, 10, QChar(u'0'));
}

QString TraceArrow(const TTraceEntry& entry) {
    return IsSent(entry) ? QStringLiteral("→") : QStringLiteral("←");
}

QString TraceWhat(const TTraceEntry& entry) {
    const QString code = QStringLiteral("%1").arg(entry.Code, 2, 16, QChar(u'0')).toUpper();
    switch (entry.Event) {
    case TraceEvent::Sent:
    case TraceEvent::Received:
        return code + u' ' + TraceCommandName(entry.Code);
    case TraceEvent::Resent:
        return code + u' ' + TraceCommandName(entry.Code) + QStringLiteral(" (ponownie)");
    case TraceEvent::LoneByte:
        return QStringLiteral("pojedynczy bajt");
    case TraceEvent::Discarded:
        switch (entry.Reason) {
        case DiscardReason::Noise:
            return QStringLiteral("odrzucone: szum");
        case DiscardReason::TooLong:
            return QStringLiteral("odrzucone: za długa ramka");
        case DiscardReason::WrongChecksum:
            return QStringLiteral("odrzucone: błędna suma kontrolna");
        }
    }
    return {};
}

QString TraceHex(const TTraceEntry& entry) {
    if (CarriesPassword(entry))
        return QStringList(entry.Bytes.size(), QStringLiteral("**")).join(u' ');
    return QString::fromLatin1(entry.Bytes.toHex(' ').toUpper());
}

QString TraceText(const TTraceEntry& entry) {
    if (CarriesPassword(entry))
        return QString(entry.Bytes.size(), u'*');
    QString text = FromAnsi(entry.Bytes);
    for (QChar& character : text)
        if (!character.isPrint())
            character = u'.';
    return text;
}

QString TraceMeaning(const TTraceEntry& entry) {
    switch (entry.Event) {
    case TraceEvent::Sent:
    case TraceEvent::Resent:
        return SentMeaning(entry);
    case TraceEvent::Received:
        return ReceivedMeaning(entry);
    case TraceEvent::LoneByte:
        return entry.Bytes == QByteArray(1, static_cast<char>(Cmd::FirmwareAck))
                   ? QStringLiteral("potwierdzenie bloku firmware")
                   : QString();
    case TraceEvent::Discarded:
        return QStringLiteral("%1 B").arg(entry.Bytes.size());
    }
    return {};
}

QString TraceLine(const TTraceEntry& entry) {
    return QStringLiteral("%1 %2 %3 | %4 | %5 | %6")
        .arg(TraceTime(entry), 12)
        .arg(TraceArrow(entry), TraceWhat(entry), TraceHex(entry), TraceText(entry),
             TraceMeaning(entry));
}
