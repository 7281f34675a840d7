#ifndef LOGWRITER_H
#define LOGWRITER_H

#include "outputfile.h"

#include <QString>

// The log a deployment system keeps: every line the program prints, appended to one file
// in UTF-8, each behind the local time with its offset from UTC
// ("2026-12-07T15:57:03.215+01:00 PELDA+ 2015 DEU: key removed: …").
class LogWriter
{
public:
    // Opens the file for appending, creating it private when missing, never through a link nor
    // into someone else's file (OutputFile); the reason when it cannot.
    QString open(const QString &fileName);
    bool isOpen() const { return m_file.isOpen(); }

    // Written through at once: a process that is ended from outside leaves whole lines.
    // Once a write fails (a full disk, a share gone), nothing more is written.
    void write(const QString &line);

    // Why the log stopped being written; empty while it is whole.
    QString failure() const { return m_failure; }
    QString fileName() const { return m_fileName; }

    static QString timestamp();

private:
    OutputFile m_file;
    QString m_fileName;
    QString m_failure;
};

#endif // LOGWRITER_H
