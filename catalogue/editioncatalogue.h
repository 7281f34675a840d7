#ifndef EDITIONCATALOGUE_H
#define EDITIONCATALOGUE_H

#include <QString>

#include <array>

// One language edition of "PELDA+ 2015" as the wizard knows it.
struct Edition
{
    const char *languageCode; // "CHS" … "TRK"
    const char *localeTag; // "zh-CN" form, with a hyphen
    const char *productCode; // braced Windows Installer product code, upper case
};

// The fixed table of the fifteen language editions and the language-neutral suite.
// Everything is compiled in; nothing is read from outside.
class EditionCatalogue
{
public:
    static constexpr int editionCount = 15;

    // The editions in catalogue order (alphabetical by language code).
    static const std::array<Edition, editionCount> &editions();

    // "PELDA+ 2015 " followed by the language code; also the field name and map key.
    static QString displayName(const Edition &edition);
    static QString displayNameForLanguage(const QString &languageCode);
    static QString displayNamePrefix();

    static QString suiteDisplayName();
    static QString suiteProductCode();

    // The product code of an edition or of the suite, by its display name exactly as
    // spelled (letter case included); empty for any other name.
    static QString productCode(const QString &displayName);

    // The lookups between the columns: whole-string, case-insensitive, empty when unknown.
    static QString languageCodeForLocale(const QString &localeTag);
    static QString localeForEdition(const QString &displayName);
};

#endif // EDITIONCATALOGUE_H
