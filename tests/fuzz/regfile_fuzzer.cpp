// libFuzzer target for the registry stand-in's file model: any bytes either parse or are
// refused; a parsed file answers every query, and deleting any of its keys leaves a file
// that parses again, without that key, with every other key still there.

#include "regfile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<RegFile> file = RegFile::parse(bytes);
    if (!file)
        return 0;

    const QStringList paths = file->sectionPaths();
    for (const QString &path : paths) {
        file->childKeys(path);
        file->stringValue(path, QStringLiteral("PeldaLanguage"));
    }
    if (paths.isEmpty())
        return 0;

    RegFile changed = *file;
    const QString victim = paths.at(qsizetype(size) % paths.size());
    const bool isHive = !victim.contains(QLatin1Char('\\'));
    if (changed.removeKey(victim) == isHive)
        __builtin_trap();
    if (isHive) {
        if (changed.toBytes() != bytes)
            __builtin_trap();
        return 0;
    }
    const std::optional<RegFile> reread = RegFile::parse(changed.toBytes());
    if (!reread || reread->keyExists(victim) || reread->encoding() != file->encoding())
        __builtin_trap();
    for (const QString &path : paths) {
        const bool below = path.startsWith(victim + QLatin1Char('\\'), Qt::CaseInsensitive)
            || path.compare(victim, Qt::CaseInsensitive) == 0;
        if (!below && !reread->keyExists(path))
            __builtin_trap();
    }
    return 0;
}
