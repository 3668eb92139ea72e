#include "config/ConfigFile.h"

#include "config/ConfigFields.h"
#include "config/Container.h"
#include "protocol/AnsiCodec.h"

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
        text = FileTextForField(body_.mid(position_, length));
        position_ += length;
        return true;
    }

private:
    const QByteArray& body_;
    qsizetype position_ = 0;
};

} // namespace

QString FileTextForField(const QByteArray& bytes) {
    const qsizetype end = bytes.indexOf('\0');
    QString text = FromAnsi(end < 0 ? bytes : bytes.left(end));
    text.removeIf([](QChar character) { return !character.isPrint(); });
    return text;
}

ConfigFileImage BuildConfigFile(const QString& password, const ConfigRecord& record) {
    RecordFault fault = FindRecordFault(record, MaxConfigFileText);
    const QByteArray passwordBytes = ToAnsi(password);
    if (fault == RecordFault::None && passwordBytes.size() > MaxConfigFileText)
        fault = RecordFault::TextTooLong;
    if (fault != RecordFault::None)
        return {{}, fault};

    QByteArray body;
    body.append(static_cast<char>(passwordBytes.size()));
    body.append(passwordBytes);
    for (const ConfigField field : ConfigFileOrder) {
        const QByteArray bytes = FieldBytes(record, field);
        // A text goes with its length byte.
        if (RowOf(field).Kind == FieldKind::Text)
            body.append(static_cast<char>(bytes.size()));
        body.append(bytes);
    }
    return {BuildContainer(ConfigFileTag, body), RecordFault::None};
}

std::optional<ConfigFileContents> ParseConfigFile(const QByteArray& image) {
    const QByteArray body = ContainerBody(image);
    BodyReader reader(body);
    ConfigFileContents contents;
    if (!reader.Text(contents.Password))
        return std::nullopt;
    for (const ConfigField field : ConfigFileOrder) {
        const ConfigFieldRow& row = RowOf(field);
        quint8 byte = 0;
        switch (row.Kind) {
        case FieldKind::Text:
            if (!reader.Text(contents.Record.*row.Text))
                return std::nullopt;
            break;
        case FieldKind::RawByte:
            if (!reader.Byte(contents.Record.*row.Byte))
                return std::nullopt;
            break;
        case FieldKind::Count:
            if (!reader.Byte(byte))
                return std::nullopt;
            contents.Record.*row.Text = QString::number(byte);
            break;
        }
    }
    return contents;
}
