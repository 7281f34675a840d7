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
    QByteArray existing;
    const QString why = read(&existing);
    if (!why.isEmpty())
        return why;
    // Each addition replaces the file by a new one written beside it: the folder must take it.
    QSaveFile probe(m_fileName);
    if (!probe.open(QIODevice::WriteOnly))
        return failure(probe.errorString());
    probe.cancelWriting();
    return QString();
}

QString RegistryBackup::addChild(const RegistryKey &parent, const QString &name) const
{
    QString why;
    const std::optional<RegistrySubtree> subtree = parent.childSubtree(name, &why);
    if (!subtree)
        return QStringLiteral("the key cannot be read for its backup: %1").arg(why);
    return add(*subtree);
}

// The whole file is written anew beside the old one and then takes its place (QSaveFile,
// which also flushes it to disk): a failure or a crash half-way leaves the earlier backups
// as they were.
QString RegistryBackup::add(const RegistrySubtree &subtree) const
{
    if (subtree.isEmpty())
        return QString();
    QByteArray bytes;
    const QString why = read(&bytes);
    if (!why.isEmpty())
        return why;
    if (bytes.isEmpty())
        bytes = fileStart();
    // Each key begins after a blank line, whatever the end of the file looked like.
    if (!bytes.endsWith(utf16(lineEnd + lineEnd)))
        bytes += utf16(bytes.endsWith(utf16(lineEnd)) ? lineEnd : lineEnd + lineEnd);
    bytes += utf16(exportText(subtree));

    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return failure(file.errorString());
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

// The file's bytes when it may take keys: a file not there yet, an empty one, or an export
// of this kind (which then ends on whole UTF-16 characters).
QString RegistryBackup::read(QByteArray *bytes) const
{
    const QFileInfo info(m_fileName);
    if (!info.exists())
        return QString();
    if (!info.isFile())
        return failure(QStringLiteral("it is not a file"));
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return failure(file.errorString());
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(file.errorString());
    if (!bytes->isEmpty() && (!bytes->startsWith(fileStart()) || bytes->size() % 2 != 0))
        return failure(QStringLiteral("it holds something other than a registry export in "
                                      "UTF-16 (\"Windows Registry Editor Version 5.00\")"));
    return QString();
}

QString RegistryBackup::failure(const QString &why) const
{
    return QStringLiteral("the backup file %1 cannot be written: %2")
        .arg(QDir::toNativeSeparators(m_fileName), why);
}
