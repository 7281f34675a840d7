#include "outputfile.h"

#include <QDir>
#include <QFileInfo>

QString OutputFile::absolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool OutputFile::fail(const QString &why)
{
    m_error = why;
    return false;
}
