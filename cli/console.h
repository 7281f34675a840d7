#ifndef CONSOLE_H
#define CONSOLE_H

#include <QFile>
#include <QString>

class LogWriter;

// Where the program's lines go: standard output for the run, standard error for what went
// wrong, and both into the log when there is one. Every line is flushed as it is written,
// so that a caller that reads a pipe or a redirected file sees each step as it happens.
class Console
{
public:
    Console();
    Console(const Console &) = delete;
    Console &operator=(const Console &) = delete;

    void setLog(LogWriter *log) { m_log = log; }

    void print(const QString &text);
    void printError(const QString &text);

    // Said once on standard error when the log fails, and named again by the last line; empty
    // while the log is whole or there is none.
    QString logFailure() const;

private:
    void write(QFile &stream, const QString &text);

    QFile m_out;
    QFile m_error;
    LogWriter *m_log = nullptr;
    bool m_logFailureSaid = false;
};

#endif // CONSOLE_H
