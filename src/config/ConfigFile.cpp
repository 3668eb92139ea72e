#include "config/ConfigFile.h"

#include "config/Container.h"
#include "config/WholeNumber.h"
#include "protocol/AnsiCodec.h"

#include <array>

namespace {

// Reads the body field by field and notices when it runs out.
class BodyReader {
public:
    explicit BodyReader(const QByteArray& body) : body_(body) {}

    bool Byte(quint8& value) {
        if (position_ >= body_.size())
            return false;
        value = static_cast<quint8>(body_[position_++]);
        return true;
    }

    bool Text(QString& text) {
        quint8 length = 0;
        if (!Byte(length) || body_.size() - position_ < length)
            return false;
        text = FromAnsi(body_.mid(position_, length));
        position_ += length;
        return true;
    }

private:
    const QByteArray& body_;
    qsizetype position_ = 0;
};

} // namespace

ConfigFileImage BuildConfigFile(const QString& password, const ConfigRecord& record) {
    RecordFault fault = FindRecordFault(record, MaxConfigFileText);
    const QByteArray passwordBytes = ToAnsi(password);
    if (fault == RecordFault::None && passwordBytes.size() > MaxConfigFileText)
        fault = RecordFault::TextTooLong;
    if (fault != RecordFault::None)
        return {{}, fault};

    QByteArray body;
    const std::array<QByteArray, 6> texts{passwordBytes,
                                          ToAnsi(record.TC8Nazwa),
                                          ToAnsi(record.TC8Nazwa2),
                                          ToAnsi(record.TC8Nazwa3),
                                          ToAnsi(record.TC8name),
                                          ToAnsi(record.TC8Typ)};
    for (const QByteArray& text : texts) {
        body.append(static_cast<char>(text.size()));
        body.append(text);
    }
    for (const quint8 byte :
         {record.TempMin, record.TempMax, record.TempKorekta, record.TempKorekta2,
          RequireWholeNumberLowByte(record.TempZapisz), RequireWholeNumberLowByte(record.IleDruk)})
        body.append(static_cast<char>(byte));
    return {BuildContainer(ConfigFileTag, body), RecordFault::None};
}

std::optional<ConfigFileContents> ParseConfigFile(const QByteArray& image) {
    const QByteArray body = ContainerBody(image);
    BodyReader reader(body);
    ConfigFileContents contents;
    ConfigRecord& record = contents.Record;
    quint8 interval = 0;
    quint8 reports = 0;
    const bool complete = reader.Text(contents.Password) && reader.Text(record.TC8Nazwa) &&
                          reader.Text(record.TC8Nazwa2) && reader.Text(record.TC8Nazwa3) &&
                          reader.Text(record.TC8name) && reader.Text(record.TC8Typ) &&
                          reader.Byte(record.TempMin) && reader.Byte(record.TempMax) &&
                          reader.Byte(record.TempKorekta) && reader.Byte(record.TempKorekta2) &&
                          reader.Byte(interval) && reader.Byte(reports);
    if (!complete)
        return std::nullopt;
    record.TempZapisz = QString::number(interval);
    record.IleDruk = QString::number(reports);
    return contents;
}
