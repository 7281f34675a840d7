#include "console.h"

#include "logwriter.h"

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
}
