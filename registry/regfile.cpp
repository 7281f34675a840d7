#include "regfile.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

#include <algorithm>

namespace {

const QLatin1String versionLine("Windows Registry Editor Version 5.00");

const char *const hives[] = { "HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_CLASSES_ROOT",
                              "HKEY_USERS", "HKEY_CURRENT_CONFIG" };

bool isHive(QStringView name)
{
    for (const char *hive : hives) {
        if (name.compare(QLatin1String(hive), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool isValidKeyPath(const QString &path)
{
    const QList<QStringView> names = QStringView(path).split(QLatin1Char('\\'));
    if (!isHive(names.first()))
        return false;
    for (const QStringView name : names) {
        if (name.isEmpty())
            return false;
    }
    return true;
}

bool isHexDigits(QStringView text, qsizetype minimum, qsizetype maximum)
{
    if (text.size() < minimum || text.size() > maximum)
        return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool hex
            = (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
        if (!hex)
            return false;
    }
    return true;
}

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// "01,02,ff": comma-separated pairs of hex digits, blanks allowed around them. One pass,
// as exports of real hives hold megabytes of them.
std::optional<QByteArray> parseHexBytes(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size() / 3 + 1);
    const QChar *p = text.cbegin();
    const QChar *const end = text.cend();
    auto skipBlanks = [&] {
        while (p != end && p->isSpace())
            ++p;
    };
    skipBlanks();
    while (p != end) {
        const int high = hexDigitValue(*p);
        const int low = p + 1 != end ? hexDigitValue(p[1]) : -1;
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.append(char(high * 16 + low));
        p += 2;
        skipBlanks();
        if (p == end)
            break;
        if (*p != QLatin1Char(','))
            return std::nullopt;
        ++p;
        skipBlanks();
        if (p == end) // a trailing comma
            return std::nullopt;
    }
    return bytes;
}

// Reads a double-quoted string with the registry editor's escapes (\\ and \") starting at
// text[position]; leaves position after the closing quote.
std::optional<QString> readQuoted(const QString &text, qsizetype &position)
{
    QString result;
    for (qsizetype i = position + 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\')) {
            if (++i == text.size())
                return std::nullopt;
            result.append(text.at(i));
        } else if (c == QLatin1Char('"')) {
            position = i + 1;
            return result;
        } else {
            result.append(c);
        }
    }
    return std::nullopt;
}

QByteArray utf16Bytes(const QString &text)
{
    QStringEncoder encoder(QStringEncoder::Utf16LE);
    return encoder(text);
}

// REG_SZ or REG_EXPAND_SZ written as hex bytes: UTF-16LE up to the terminating NUL.
QString stringFromHexBytes(const QByteArray &bytes)
{
    QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()),
                                      bytes.size() / 2);
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

} // namespace

std::optional<RegFile> RegFile::parse(const QByteArray &bytes, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return std::optional<RegFile>();
    };

    RegFile file;
    file.m_bytes = bytes;
    qsizetype start = 0;
    if (bytes.startsWith("\xFF\xFE")) {
        file.m_encoding = Encoding::Utf16LE;
        start = 2;
        if ((bytes.size() - start) % 2 != 0)
            return fail(QStringLiteral("odd number of bytes in a UTF-16 file"));
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        file.m_encoding = Encoding::Utf8WithBom;
        start = 3;
    }

    qsizetype lineStart = start;
    if (file.m_encoding == Encoding::Utf16LE) {
        for (qsizetype p = start; p + 1 < bytes.size(); p += 2) {
            if (bytes.at(p) == '\n' && bytes.at(p + 1) == '\0') {
                file.m_lines.append({ lineStart, p + 2 });
                lineStart = p + 2;
            }
        }
    } else {
        for (qsizetype p = bytes.indexOf('\n', start); p >= 0; p = bytes.indexOf('\n', p + 1)) {
            file.m_lines.append({ lineStart, p + 1 });
            lineStart = p + 1;
        }
    }
    if (lineStart < bytes.size())
        file.m_lines.append({ lineStart, bytes.size() });

    // Every line must decode cleanly: a damaged file is never rewritten.
    for (qsizetype i = 0; i < file.m_lines.size(); ++i) {
        const Line line = file.m_lines.at(i);
        QStringDecoder decoder(file.m_encoding == Encoding::Utf16LE ? QStringDecoder::Utf16LE
                                                                    : QStringDecoder::Utf8);
        const QString text
            = decoder(QByteArrayView(bytes).sliced(line.begin, line.end - line.begin));
        if (decoder.hasError() || text.contains(QChar(0)))
            return fail(QStringLiteral("line %1 is not valid text").arg(i + 1));
    }

    if (file.m_lines.isEmpty() || file.lineText(0).trimmed() != versionLine)
        return fail(QStringLiteral("the first line is not \"%1\"").arg(versionLine));

    for (qsizetype i = 1; i < file.m_lines.size();) {
        const QString text = file.lineText(i).trimmed();
        if (text.isEmpty() || text.startsWith(QLatin1Char(';'))) {
            ++i;
        } else if (text.startsWith(QLatin1Char('['))) {
            const QString path = text.mid(1, text.size() - 2);
            if (!text.endsWith(QLatin1Char(']')) || !isValidKeyPath(path))
                return fail(QStringLiteral("line %1 is not a key name").arg(i + 1));
            if (!file.m_sections.isEmpty())
                file.m_sections.last().endLine = i;
            file.m_sections.append({ path, i, file.m_lines.size() });
            ++i;
        } else if (file.m_sections.isEmpty()) {
            return fail(QStringLiteral("line %1 stands outside any key").arg(i + 1));
        } else {
            const qsizetype valueLine = i;
            QString why;
            if (!file.readValue(i, &why))
                return fail(QStringLiteral("line %1: %2").arg(valueLine + 1).arg(why));
        }
    }
    return file;
}

QString RegFile::lineText(qsizetype index) const
{
    const Line line = m_lines.at(index);
    QByteArrayView bytes = QByteArrayView(m_bytes).sliced(line.begin, line.end - line.begin);
    if (m_encoding == Encoding::Utf16LE) {
        QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.data()),
                                          bytes.size() / 2);
        while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
            text.chop(1);
        return text;
    }
    while (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
    return QString::fromUtf8(bytes);
}

std::optional<RegFile::Value> RegFile::readValue(qsizetype &index, QString *error) const
{
    auto fail = [error](const char *why) {
        *error = QLatin1String(why);
        return std::optional<Value>();
    };

    const QString text = lineText(index++).trimmed();
    Value value;
    qsizetype position = 1;
    if (text.startsWith(QLatin1Char('"'))) {
        position = 0;
        const std::optional<QString> name = readQuoted(text, position);
        if (!name)
            return fail("unterminated value name");
        value.name = *name;
    } else if (!text.startsWith(QLatin1Char('@'))) {
        return fail("not a value");
    }
    if (position >= text.size() || text.at(position) != QLatin1Char('='))
        return fail("no '=' after the value name");
    QString data = text.mid(position + 1);

    if (data.startsWith(QLatin1Char('"'))) {
        qsizetype end = 0;
        const std::optional<QString> string = readQuoted(data, end);
        if (!string || end != data.size())
            return fail("malformed string data");
        value.type = QStringLiteral("sz");
        value.text = *string;
        value.registryType = RegistryValue::String;
        value.data = utf16Bytes(*string + QChar(0));
    } else if (data.startsWith(QLatin1String("dword:"))) {
        const QString digits = data.mid(6);
        if (!isHexDigits(digits, 8, 8))
            return fail("malformed dword data");
        const quint32 number = digits.toUInt(nullptr, 16);
        value.type = QStringLiteral("dword");
        value.text = QString::number(number);
        value.registryType = RegistryValue::Dword;
        value.data.resize(sizeof number);
        qToLittleEndian(number, value.data.data());
    } else if (data.startsWith(QLatin1String("hex"))) {
        const qsizetype colon = data.indexOf(QLatin1Char(':'));
        value.type = data.left(colon);
        const bool typed = value.type.startsWith(QLatin1String("hex("))
            && value.type.endsWith(QLatin1Char(')'))
            && isHexDigits(QStringView(value.type).sliced(4, value.type.size() - 5), 1, 8);
        if (colon < 0 || (value.type != QLatin1String("hex") && !typed))
            return fail("malformed hex type");
        QString body = data.mid(colon + 1).trimmed();
        while (body.endsWith(QLatin1Char('\\'))) {
            if (index == m_lines.size())
                return fail("the value continues past the end of the file");
            body.chop(1);
            body += lineText(index++).trimmed();
        }
        const std::optional<QByteArray> bytes = parseHexBytes(body);
        if (!bytes)
            return fail("malformed hex data");
        const bool isString
            = value.type == QLatin1String("hex(1)") || value.type == QLatin1String("hex(2)");
        value.text = isString ? stringFromHexBytes(*bytes) : QString::fromLatin1(bytes->toHex());
        value.registryType = typed ? value.type.mid(4, value.type.size() - 5).toUInt(nullptr, 16)
                                   : RegistryValue::Binary;
        value.data = *bytes;
    } else {
        return fail("unknown data type");
    }
    return value;
}

bool RegFile::isInSubtree(const QString &path, const QString &root)
{
    if (path.size() == root.size())
        return path.compare(root, Qt::CaseInsensitive) == 0;
    return path.size() > root.size() && path.at(root.size()) == QLatin1Char('\\')
        && path.startsWith(root, Qt::CaseInsensitive);
}

const RegFile::Index &RegFile::index() const
{
    if (m_index->built)
        return *m_index;
    Index &index = *m_index;
    index.sections.reserve(m_sections.size());
    for (qsizetype i = 0; i < m_sections.size(); ++i) {
        const QString path = m_sections.at(i).path.toCaseFolded();
        index.sections[path].append(i);
        // The section's key and each key on its path.
        for (qsizetype end = path.size(); end > 0;
             end = path.lastIndexOf(QLatin1Char('\\'), end - 1)) {
            if (index.keys.contains(path.left(end)))
                break;
            index.keys.insert(path.left(end));
        }
    }
    index.built = true;
    return index;
}

bool RegFile::keyExists(const QString &path) const
{
    return isHive(path) || index().keys.contains(path.toCaseFolded());
}

QStringList RegFile::childKeys(const QString &path) const
{
    QStringList children;
    for (const Section &section : m_sections) {
        if (section.path.size() <= path.size() || !isInSubtree(section.path, path))
            continue;
        const QString child = section.path.mid(path.size() + 1).section(QLatin1Char('\\'), 0, 0);
        if (!children.contains(child, Qt::CaseInsensitive))
            children.append(child);
    }
    return children;
}

template<typename Visit> void RegFile::visitValues(const QString &keyPath, Visit visit) const
{
    for (const qsizetype sectionIndex : index().sections.value(keyPath.toCaseFolded())) {
        const Section &section = m_sections.at(sectionIndex);
        for (qsizetype i = section.firstLine + 1; i < section.endLine;) {
            const QString text = lineText(i).trimmed();
            if (text.isEmpty() || text.startsWith(QLatin1Char(';'))) {
                ++i;
                continue;
            }
            QString ignored;
            if (const std::optional<Value> value = readValue(i, &ignored))
                visit(*value);
        }
    }
}

QString RegFile::stringValue(const QString &keyPath, const QString &valueName) const
{
    QString result;
    visitValues(keyPath, [&](const Value &value) {
        if (value.name.compare(valueName, Qt::CaseInsensitive) != 0)
            return;
        const bool readable = value.type == QLatin1String("sz")
            || value.type == QLatin1String("dword") || value.type == QLatin1String("hex(1)")
            || value.type == QLatin1String("hex(2)");
        result = readable ? value.text : QString();
    });
    return result;
}

// Value names, like key names, ignore letter case; the first spelling stays, as in the
// registry when a value is set again.
QList<RegistryValue> RegFile::values(const QString &keyPath) const
{
    QList<RegistryValue> values;
    visitValues(keyPath, [&values](const Value &value) {
        const auto same = std::find_if(values.begin(), values.end(), [&](const RegistryValue &v) {
            return v.name.compare(value.name, Qt::CaseInsensitive) == 0;
        });
        if (same == values.end()) {
            values.append({ value.name, value.registryType, value.data });
        } else {
            same->type = value.registryType;
            same->data = value.data;
        }
    });
    return values;
}

QStringList RegFile::sectionPaths() const
{
    QStringList paths;
    paths.reserve(m_sections.size());
    for (const Section &section : m_sections)
        paths.append(section.path);
    return paths;
}

bool RegFile::removeKey(const QString &path)
{
    if (isHive(path) || !keyExists(path)) // a hive itself cannot be deleted
        return false;

    QByteArray bytes = m_bytes.left(m_lines.isEmpty() ? m_bytes.size() : m_lines.first().begin);
    QList<Line> lines;
    QList<Section> sections;
    auto keepLines = [&](qsizetype first, qsizetype end) {
        for (qsizetype i = first; i < end; ++i) {
            const Line line = m_lines.at(i);
            lines.append({ bytes.size(), bytes.size() + line.end - line.begin });
            bytes.append(QByteArrayView(m_bytes).sliced(line.begin, line.end - line.begin));
        }
    };

    keepLines(0, m_sections.isEmpty() ? m_lines.size() : m_sections.first().firstLine);
    for (const Section &section : m_sections) {
        if (isInSubtree(section.path, path))
            continue;
        const qsizetype first = lines.size();
        keepLines(section.firstLine, section.endLine);
        sections.append({ section.path, first, lines.size() });
    }

    m_bytes = bytes;
    m_lines = lines;
    m_sections = sections;
    m_index = std::make_shared<Index>();
    return true;
}
