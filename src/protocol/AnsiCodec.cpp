#include "protocol/AnsiCodec.h"

#include "core/Errors.h"

#include <QSysInfo>
#include <cstring>
#include <iconv.h>

namespace {

constexpr const char* AnsiCodePage = "WINDOWS-1250";
constexpr char Unencodable = '?';

const char* NativeUtf16() {
    return QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";
}

// One iconv descriptor per thread and direction: iconv keeps state in the descriptor, so a
// shared one would need a lock.
class Converter {
public:
    Converter(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {
        if (descriptor_ == reinterpret_cast<iconv_t>(-1))
            throw Exception(QStringLiteral("iconv cannot convert %1 to %2")
                                .arg(QString::fromLatin1(from), QString::fromLatin1(to)));
    }
    ~Converter() { iconv_close(descriptor_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as it can; false when it stopped at a character it cannot convert.
    // Every character of the code page is one UTF-16 unit, so the output never runs short.
    bool Convert(const char*& in, size_t& inLeft, char*& out, size_t& outLeft) {
        char* input = const_cast<char*>(in);
        const size_t result = iconv(descriptor_, &input, &inLeft, &out, &outLeft);
        in = input;
        return result != static_cast<size_t>(-1);
    }

    void Reset() { iconv(descriptor_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t descriptor_;
};

Converter& Encoder() {
    thread_local Converter converter(AnsiCodePage, NativeUtf16());
    return converter;
}

Converter& Decoder() {
    thread_local Converter converter(NativeUtf16(), AnsiCodePage);
    return converter;
}

bool IsUndefinedAnsiByte(char byte) {
    Converter& decoder = Decoder();
    decoder.Reset();
    char16_t unit = 0;
    const char* in = &byte;
    size_t inLeft = 1;
    char* out = reinterpret_cast<char*>(&unit);
    size_t outLeft = sizeof unit;
    return !decoder.Convert(in, inLeft, out, outLeft);
}

// The byte an undefined code-page position stands for, if the character is one of them.
bool UndefinedByteFor(QChar character, char& byte) {
    if (character.unicode() > 0xFF)
        return false;
    byte = static_cast<char>(character.unicode());
    return IsUndefinedAnsiByte(byte);
}

// The Windows-1250 bytes of the text; allKept tells whether no character became "?".
QByteArray Encode(const QString& text, bool& allKept) {
    allKept = true;
    QByteArray result(text.size(), '\0');
    Converter& encoder = Encoder();
    encoder.Reset();
    const char* in = reinterpret_cast<const char*>(text.constData());
    size_t inLeft = static_cast<size_t>(text.size()) * sizeof(QChar);
    char* out = result.data();
    size_t outLeft = static_cast<size_t>(result.size());
    while (!encoder.Convert(in, inLeft, out, outLeft)) {
        const QChar* current = reinterpret_cast<const QChar*>(in);
        qsizetype units = 1;
        char byte = 0;
        if (!UndefinedByteFor(*current, byte)) {
            allKept = false;
            byte = Unencodable;
            if (current->isHighSurrogate() && inLeft >= 2 * sizeof(QChar) &&
                current[1].isLowSurrogate())
                units = 2;
        }
        *out++ = byte;
        --outLeft;
        in += units * sizeof(QChar);
        inLeft -= units * sizeof(QChar);
        encoder.Reset();
    }
    result.truncate(out - result.constData());
    return result;
}

} // namespace

QByteArray ToAnsi(const QString& text) {
    bool allKept = true;
    return Encode(text, allKept);
}

QString FromAnsi(const QByteArray& bytes) {
    QString result(bytes.size(), QChar());
    Converter& decoder = Decoder();
    decoder.Reset();
    const char* in = bytes.constData();
    size_t inLeft = static_cast<size_t>(bytes.size());
    char* out = reinterpret_cast<char*>(result.data());
    size_t outLeft = static_cast<size_t>(result.size()) * sizeof(QChar);
    while (!decoder.Convert(in, inLeft, out, outLeft)) {
        // An undefined byte keeps its number as its character.
        const QChar character(static_cast<uchar>(*in));
        std::memcpy(out, &character, sizeof character);
        out += sizeof character;
        outLeft -= sizeof character;
        ++in;
        --inLeft;
        decoder.Reset();
    }
    return result;
}

bool CanEncodeAnsi(QChar character) {
    return CanEncodeAnsi(QString(character));
}

bool CanEncodeAnsi(const QString& text) {
    bool allKept = true;
    Encode(text, allKept);
    return allKept;
}
