#include "registryerror.h"

#include <windows.h>

KeyRemoval RegistryError::removalAfter(const QString &path, long errorCode)
{
    switch (errorCode) {
    case ERROR_SUCCESS:
        return { path, KeyRemoval::Removed, QString() };
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return { path, KeyRemoval::NotThere, QString() };
    default:
        return { path, KeyRemoval::Failed, message(errorCode) };
    }
}

QString RegistryError::message(long errorCode)
{
    wchar_t *buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, DWORD(errorCode), 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    QString text = QString::fromWCharArray(buffer, int(length)).trimmed();
    LocalFree(buffer);
    const QString number = QStringLiteral("error %1").arg(errorCode);
    return text.isEmpty() ? number : QStringLiteral("%1 (%2)").arg(text, number);
}
