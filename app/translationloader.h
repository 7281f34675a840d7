#ifndef TRANSLATIONLOADER_H
#define TRANSLATIONLOADER_H

#include <QString>
#include <QStringList>

class QTranslator;

// Chooses the wizard's language: the first translation file in a fixed priority order that
// lies in the given folder and loads. Only that folder is searched.
class TranslationLoader
{
public:
    // "remedor_chs" … "remedor_trk", in priority order (English third).
    static QStringList baseNames();

    // Loads the chosen file into the translator and returns its path; returns an empty
    // string, leaving the translator empty, when no file qualifies.
    static QString loadFirst(QTranslator &translator, const QString &folder);
};

#endif // TRANSLATIONLOADER_H
