#include "translationloader.h"

#include <QFile>
#include <QTranslator>

QStringList TranslationLoader::baseNames()
{
    return {
        QStringLiteral("remedor_chs"), QStringLiteral("remedor_cht"), QStringLiteral("remedor_enu"),
        QStringLiteral("remedor_csy"), QStringLiteral("remedor_deu"), QStringLiteral("remedor_esn"),
        QStringLiteral("remedor_fra"), QStringLiteral("remedor_hun"), QStringLiteral("remedor_ita"),
        QStringLiteral("remedor_jpn"), QStringLiteral("remedor_kor"), QStringLiteral("remedor_plk"),
        QStringLiteral("remedor_ptb"), QStringLiteral("remedor_rus"), QStringLiteral("remedor_trk")
    };
}

QString TranslationLoader::loadFirst(QTranslator &translator, const QString &folder)
{
    const QStringList names = baseNames();
    for (const QString &baseName : names) {
        const QString path = folder + QLatin1Char('/') + baseName + QLatin1String(".qm");
        // Given a name that does not exist, QTranslator::load tries shorter names
        // ("remedor.qm"); testing existence first keeps the choice to these exact files.
        if (!QFile::exists(path))
            continue;
        if (translator.load(path, QString(), QString(), QString()))
            return path;
    }
    return QString();
}
