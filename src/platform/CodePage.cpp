#include "platform/CodePage.h"

#include <QHash>

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace kap::codepage {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F. The five codes it leaves undefined
// map to the C1 controls of the same value, as Windows itself does, so every byte survives a
// read and a write.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

const QHash<char16_t, char>& highControlBytes()
{
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> t;
        for (int i = 0; i < 32; ++i)
            t.insert(kHighControls[i], char(0x80 + i));
        return t;
    }();
    return table;
}

bool undefinedIn1252(uchar b)
{
    return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

std::optional<char> byteIn1252(char16_t u)
{
    if (const auto it = highControlBytes().constFind(u); it != highControlBytes().constEnd())
        return it.value();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return char(u);
    return std::nullopt;
}

// glibc's converter for Microsoft's code page 932: strict, so a byte that is no character
// and a character the code page lacks are both reported rather than guessed.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != iconv_t(-1))
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts in to out. At input it cannot take, calls onBad(offset) which returns how
    // many input bytes to skip and appends its replacement to out. False when the converter
    // is missing.
    template <typename OnBad>
    bool run(const QByteArray& in, QByteArray& out, OnBad onBad)
    {
        if (cd_ == iconv_t(-1))
            return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.constData());
        size_t srcLeft = size_t(in.size());
        char buffer[1024];
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, qsizetype(dst - buffer));
            if (r == size_t(-1) && errno != E2BIG) {
                const size_t skip = qMin(srcLeft, onBad(qsizetype(src - in.constData()), out));
                src += skip;
                srcLeft -= skip;
            }
        }
        return true;
    }

private:
    iconv_t cd_;
};

QByteArray utf16(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

// Code units of the character at index i of text (2 for a surrogate pair).
qsizetype unitsAt(const QString& text, qsizetype i)
{
    return text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
               ? 2
               : 1;
}

}  // namespace

QString name(Encoding encoding)
{
    return encoding == Encoding::ShiftJis ? QStringLiteral("Shift_JIS")
                                          : QStringLiteral("Windows-1252");
}

std::optional<Encoding> fromName(const QString& text)
{
    const QString n = text.trimmed().toLower();
    if (n == u"windows-1252" || n == u"cp1252")
        return Encoding::Windows1252;
    if (n == u"shift_jis" || n == u"sjis" || n == u"cp932")
        return Encoding::ShiftJis;
    return std::nullopt;
}

Encoding other(Encoding encoding)
{
    return encoding == Encoding::ShiftJis ? Encoding::Windows1252 : Encoding::ShiftJis;
}

Encoding forLanguage(const QString& languageCode)
{
    return languageCode == u"ja" ? Encoding::ShiftJis : Encoding::Windows1252;
}

bool isValid(const QByteArray& bytes, Encoding encoding)
{
    if (encoding == Encoding::Windows1252)
        return std::none_of(bytes.cbegin(), bytes.cend(),
                            [](char b) { return undefinedIn1252(uchar(b)); });
    bool valid = true;
    QByteArray out;
    Converter("UTF-16LE", "CP932").run(bytes, out, [&valid](qsizetype, QByteArray&) {
        valid = false;
        return size_t(-1);  // the rest is not read
    });
    return valid;
}

QString decode(const QByteArray& bytes, Encoding encoding)
{
    if (encoding == Encoding::Windows1252) {
        QString text(bytes.size(), Qt::Uninitialized);
        QChar* out = text.data();  // once: text[i] would check for sharing at every character
        const char* in = bytes.constData();
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const auto b = uchar(in[i]);
            out[i] = b >= 0x80 && b < 0xA0 ? QChar(kHighControls[b - 0x80]) : QChar(b);
        }
        return text;
    }
    QByteArray out;
    Converter("UTF-16LE", "CP932").run(bytes, out, [](qsizetype, QByteArray& o) {
        o.append("\xfd\xff", 2);  // U+FFFD, little-endian
        return size_t(1);
    });
    return QString(reinterpret_cast<const QChar*>(out.constData()), out.size() / 2);
}

std::optional<qsizetype> firstUnheld(const QString& text, Encoding encoding)
{
    if (encoding == Encoding::Windows1252) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (!byteIn1252(text.at(i).unicode()))
                return i;
        }
        return std::nullopt;
    }
    std::optional<qsizetype> first;
    QByteArray out;
    Converter("CP932", "UTF-16LE").run(utf16(text), out, [&first](qsizetype offset, QByteArray&) {
        first = offset / 2;
        return size_t(-1);
    });
    return first;
}

QByteArray encode(const QString& text, Encoding encoding)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    if (encoding == Encoding::Windows1252) {
        for (const QChar ch : text)
            bytes.append(byteIn1252(ch.unicode()).value_or('?'));
        return bytes;
    }
    Converter("CP932", "UTF-16LE")
        .run(utf16(text), bytes, [&text](qsizetype offset, QByteArray& o) {
            o.append('?');
            return size_t(unitsAt(text, offset / 2) * 2);
        });
    return bytes;
}

}  // namespace kap::codepage
