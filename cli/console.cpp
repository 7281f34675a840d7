#include "console.h"

#include "logwriter.h"

#include <QDir>

#include <cstdio>

// Not in Qt's text mode: the C run time's streams already end lines in CR LF on Windows.
Console::Console()
{
    m_out.open(stdout, QIODevice::WriteOnly);
    m_error.open(stderr, QIODevice::WriteOnly);
}

void Console::print(const QString &text)
{
    write(m_out, text);
}

void Console::printError(const QString &text)
{
    write(m_error, text);
}

// A text of several lines (the JSON listing) goes to the log line by line, each with its
// timestamp.
void Console::write(QFile &stream, const QString &text)
{
    stream.write(text.toUtf8() + '\n');
    stream.flush();
    if (!m_log)
        return;
    for (const QString &line : text.split(QLatin1Char('\n')))
        m_log->write(line);
    if (!m_log->failure().isEmpty() && !m_logFailureSaid) {
        m_logFailureSaid = true;
        m_error.write(QStringLiteral("remedor-cli: %1; the lines from here on are not in it.\n")
                          .arg(logFailure())
                          .toUtf8());
        m_error.flush();
    }
}

QString Console::logFailure() const
{
    if (!m_log || m_log->failure().isEmpty())
        return QString();
    return QStringLiteral("the log file %1 could not be written: %2")
        .arg(QDir::toNativeSeparators(m_log->fileName()), m_log->failure());
}
