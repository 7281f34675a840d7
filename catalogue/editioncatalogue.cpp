#include "editioncatalogue.h"

namespace {

// The codes are stored whole: all fifteen share every group but the third, which is the
// edition's Windows language identifier (Spanish uses 3082, the modern sort).
constexpr std::array<Edition, EditionCatalogue::editionCount> catalogue { {
    { "CHS", "zh-CN", "{6B41C7D2-B002-2052-B102-7E93A0C5D814}" },
    { "CHT", "zh-TW", "{6B41C7D2-B002-1028-B102-7E93A0C5D814}" },
    { "CSY", "cs-CZ", "{6B41C7D2-B002-1029-B102-7E93A0C5D814}" },
    { "DEU", "de-DE", "{6B41C7D2-B002-1031-B102-7E93A0C5D814}" },
    { "ENU", "en-US", "{6B41C7D2-B002-1033-B102-7E93A0C5D814}" },
    { "ESN", "es-ES", "{6B41C7D2-B002-3082-B102-7E93A0C5D814}" },
    { "FRA", "fr-FR", "{6B41C7D2-B002-1036-B102-7E93A0C5D814}" },
    { "HUN", "hu-HU", "{6B41C7D2-B002-1038-B102-7E93A0C5D814}" },
    { "ITA", "it-IT", "{6B41C7D2-B002-1040-B102-7E93A0C5D814}" },
    { "JPN", "ja-JP", "{6B41C7D2-B002-1041-B102-7E93A0C5D814}" },
    { "KOR", "ko-KR", "{6B41C7D2-B002-1042-B102-7E93A0C5D814}" },
    { "PLK", "pl-PL", "{6B41C7D2-B002-1045-B102-7E93A0C5D814}" },
    { "PTB", "pt-BR", "{6B41C7D2-B002-1046-B102-7E93A0C5D814}" },
    { "RUS", "ru-RU", "{6B41C7D2-B002-1049-B102-7E93A0C5D814}" },
    { "TRK", "tr-TR", "{6B41C7D2-B002-1055-B102-7E93A0C5D814}" },
} };

} // namespace

const std::array<Edition, EditionCatalogue::editionCount> &EditionCatalogue::editions()
{
    return catalogue;
}

QString EditionCatalogue::displayNamePrefix()
{
    return QStringLiteral("PELDA+ 2015 ");
}

QString EditionCatalogue::displayName(const Edition &edition)
{
    return displayNameForLanguage(QLatin1String(edition.languageCode));
}

QString EditionCatalogue::displayNameForLanguage(const QString &languageCode)
{
    return displayNamePrefix() + languageCode;
}

QString EditionCatalogue::suiteDisplayName()
{
    return QStringLiteral("PELDA+ 2015");
}

QString EditionCatalogue::suiteProductCode()
{
    return QStringLiteral("{6B41C7D2-B002-0000-B002-7E93A0C5D814}");
}

QString EditionCatalogue::productCode(const QString &displayName)
{
    if (displayName == suiteDisplayName())
        return suiteProductCode();
    for (const Edition &edition : catalogue) {
        if (displayName == EditionCatalogue::displayName(edition))
            return QLatin1String(edition.productCode);
    }
    return QString();
}

QString EditionCatalogue::languageCodeForLocale(const QString &localeTag)
{
    for (const Edition &edition : catalogue) {
        if (localeTag.compare(QLatin1String(edition.localeTag), Qt::CaseInsensitive) == 0)
            return QLatin1String(edition.languageCode);
    }
    return QString();
}

QString EditionCatalogue::localeForEdition(const QString &displayName)
{
    for (const Edition &edition : catalogue) {
        if (displayName.compare(EditionCatalogue::displayName(edition), Qt::CaseInsensitive) == 0)
            return QLatin1String(edition.localeTag);
    }
    return QString();
}
