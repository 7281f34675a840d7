#include "registrybackup.h"

#include "registrykey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>
#include <QtEndian>

#include <optional>

namespace {

const QLatin1String headerLine("Windows Registry Editor Version 5.00\r\n");
const QLatin1String lineEnd("\r\n");

QByteArray utf16(const QString &text)
{
    QStringEncoder encoder(QStringEncoder::Utf16LE);
    return encoder(text);
}

QByteArray fileStart()
{
    return QByteArray("\xFF\xFE") + utf16(headerLine);
}

// The registry editor's escapes: a backslash and a double quote each behind a backslash.
QString quoted(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// REG_SZ data that an import of "text" gives back byte for byte: one line of UTF-16 with its
// terminating NUL and no other. Anything else is written as hex(1), which keeps every byte.
std::optional<QString> plainString(const QByteArray &data)
{
    if (data.size() < 2 || data.size() % 2 != 0)
        return std::nullopt;
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(data.constData()),
                                            data.size() / 2 - 1);
    if (text.contains(QChar(0)) || text.contains(QLatin1Char('\r'))
        || text.contains(QLatin1Char('\n')) || utf16(text + QChar(0)) != data)
        return std::nullopt;
    return text;
}

} // namespace

RegistryBackup::RegistryBackup(const QString &fileName)
    : m_fileName(fileName)
{
}

QString RegistryBackup::problem() const
{
    const QString why = OutputFile::inspect(m_fileName);
    if (!why.isEmpty())
        return failure(why);
    const QFileInfo info(m_fileName);
    if (info.exists() && !info.isFile()) // a device, which keeps no key
        return failure(QStringLiteral("it is not a file"));
    if (info.exists()) {
        OutputFile file;
        QByteArray bytes;
        if (!file.open(m_fileName, false) || !file.readAll(&bytes))
            return failure(file.errorString());
        const QString content = checkContent(bytes);
        return content.isEmpty() ? QString() : failure(content);
    }
    // The first key creates the file: the folder must take it.
    QSaveFile probe(m_fileName);
    if (!probe.open(QIODevice::WriteOnly))
        return failure(probe.errorString());
    probe.cancelWriting();
    return QString();
}

QString RegistryBackup::addChild(const RegistryKey &parent, const QString &name)
{
    QString why;
    const std::optional<RegistrySubtree> subtree = parent.childSubtree(name, &why);
    if (!subtree)
        return QStringLiteral("the key cannot be read for its backup: %1").arg(why);
    return add(*subtree);
}

// Appended to the open file and flushed to disk before the key may go; a write that fails
// half-way is cut off again, so that the file ends on the last whole key, as it did.
QString RegistryBackup::add(const RegistrySubtree &subtree)
{
    if (subtree.isEmpty())
        return QString();
    const QString badName = unwritableName(subtree);
    if (!badName.isEmpty())
        return QStringLiteral("the key cannot be backed up: the name %1 holds a line break or "
                              "NUL, which a registry export cannot keep")
            .arg(badName);
    const QString why = open();
    if (!why.isEmpty())
        return failure(why);
    const QString failed = append(m_start + m_separator + utf16(exportText(subtree)));
    if (!failed.isEmpty())
        return failure(failed);
    m_start.clear();
    m_separator.clear(); // each key ends on a blank line
    return QString();
}

// Opened at the first key, so that a run that deletes nothing creates no file; later keys
// find it as this run left it, or take nothing.
QString RegistryBackup::open()
{
    if (m_file.isOpen())
        return m_file.isStillAtPath() && m_file.size() == m_end
            ? QString()
            : QStringLiteral("it was changed or replaced by someone else during the run");
    QByteArray bytes;
    QString why;
    if (!m_file.open(m_fileName) || !m_file.readAll(&bytes))
        why = m_file.errorString();
    else
        why = checkContent(bytes);
    if (!why.isEmpty()) {
        m_file.close();
        return why;
    }
    m_end = bytes.size();
    m_start = bytes.isEmpty() ? fileStart() : QByteArray();
    const QByteArray tail = bytes.isEmpty() ? fileStart() : bytes;
    // Each key begins after a blank line, whatever the end of the file looked like.
    if (tail.endsWith(utf16(lineEnd + lineEnd)))
        m_separator.clear();
    else
        m_separator = utf16(tail.endsWith(utf16(lineEnd)) ? lineEnd : lineEnd + lineEnd);
    return QString();
}

QString RegistryBackup::append(const QByteArray &bytes)
{
    if (m_file.append(bytes) && m_file.sync()) {
        m_end += bytes.size();
        return QString();
    }
    const QString why = m_file.errorString();
    if (!m_file.truncate(m_end) || !m_file.sync())
        m_file.close(); // the next key opens it afresh, and checks it
    return why;
}

// A file not there yet, an empty one, or an export of this kind (which then ends on whole
// UTF-16 characters).
QString RegistryBackup::checkContent(const QByteArray &bytes)
{
    if (!bytes.isEmpty() && (!bytes.startsWith(fileStart()) || bytes.size() % 2 != 0))
        return QStringLiteral("it holds something other than a registry export in UTF-16 "
                              "(\"Windows Registry Editor Version 5.00\")");
    return QString();
}

// The export writes one line per key and per value, and ends names at a NUL: such a name
// would come back as another key or value, or none. Empty when every name can be written.
QString RegistryBackup::unwritableName(const RegistrySubtree &subtree)
{
    const auto breaks = [](const QString &name) {
        return name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n'))
            || name.contains(QChar(0));
    };
    const auto shown = [](QString name) {
        return name.replace(QLatin1Char('\r'), QLatin1String("\\r"))
            .replace(QLatin1Char('\n'), QLatin1String("\\n"))
            .replace(QChar(0), QLatin1String("\\0"));
    };
    for (const RegistrySubtree::Key &key : subtree.keys) {
        if (breaks(key.path))
            return QLatin1Char('"') + shown(key.path) + QLatin1Char('"');
        for (const RegistryValue &value : key.values) {
            if (breaks(value.name))
                return QStringLiteral("\"%1\" of %2").arg(shown(value.name), key.path);
        }
    }
    return QString();
}

QString RegistryBackup::exportText(const RegistrySubtree &subtree)
{
    QString text;
    for (const RegistrySubtree::Key &key : subtree.keys) {
        text += QLatin1Char('[') + key.path + QLatin1Char(']') + lineEnd;
        for (const RegistryValue &value : key.values)
            text += valueLine(value) + lineEnd;
        text += lineEnd;
    }
    return text;
}

QString RegistryBackup::valueLine(const RegistryValue &value)
{
    const QString start
        = (value.name.isEmpty() ? QStringLiteral("@") : quoted(value.name)) + QLatin1Char('=');
    if (value.type == RegistryValue::String) {
        if (const std::optional<QString> text = plainString(value.data))
            return start + quoted(*text);
    }
    if (value.type == RegistryValue::Dword && value.data.size() == sizeof(quint32)) {
        const quint32 number = qFromLittleEndian<quint32>(value.data.constData());
        return start + QStringLiteral("dword:%1").arg(number, 8, 16, QLatin1Char('0'));
    }
    const QString type = value.type == RegistryValue::Binary
        ? QStringLiteral("hex")
        : QStringLiteral("hex(%1)").arg(value.type, 0, 16);
    return hexData(start + type + QLatin1Char(':'), value.data);
}

// Comma-separated pairs of hex digits, wrapped as the registry editor wraps them: a line ends
// in ",\" once it reaches 77 columns, and the next one goes on after two blanks.
QString RegistryBackup::hexData(const QString &start, const QByteArray &data)
{
    static const char digits[] = "0123456789abcdef";
    QString text;
    QString line = start;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const uchar byte = uchar(data.at(i));
        line += QLatin1Char(digits[byte >> 4]);
        line += QLatin1Char(digits[byte & 0xf]);
        if (i + 1 == data.size())
            break;
        line += QLatin1Char(',');
        if (line.size() >= 77) {
            text += line + QLatin1Char('\\') + lineEnd;
            line = QStringLiteral("  ");
        }
    }
    return text + line;
}

QString RegistryBackup::failure(const QString &why) const
{
    return QStringLiteral("the backup file %1 cannot be written: %2")
        .arg(QDir::toNativeSeparators(m_fileName), why);
}
