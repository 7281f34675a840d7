#include "logwriter.h"

#include <QDateTime>
#include <QDir>

QString LogWriter::open(const QString &fileName)
{
    m_fileName = fileName;
    if (m_file.open(fileName))
        return QString();
    return QStringLiteral("the log file %1 cannot be opened: %2")
        .arg(QDir::toNativeSeparators(fileName), m_file.errorString());
}

void LogWriter::write(const QString &line)
{
    if (!m_file.isOpen() || !m_failure.isEmpty())
        return;
    if (!m_file.append((timestamp() + QLatin1Char(' ') + line).toUtf8() + OutputFile::lineEnd()))
        m_failure = m_file.errorString();
}

QString LogWriter::timestamp()
{
    const QDateTime now = QDateTime::currentDateTime();
    return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs);
}
