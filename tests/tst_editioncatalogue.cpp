#include "editioncatalogue.h"
#include "remedorwiz.h"

#include <QtTest>

class tst_EditionCatalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void productCodesAfterConstruction();
    void productCodeLookupIsExact_data();
    void productCodeLookupIsExact();
    void languageCodeForLocale_data();
    void languageCodeForLocale();
    void localeForEdition_data();
    void localeForEdition();
    void everyLocaleRoundTrips_data();
    void everyLocaleRoundTrips();
    void productCodesShareAllButTheLanguageGroup();
};

void tst_EditionCatalogue::productCodesAfterConstruction()
{
    RemedorWiz wizard;
    QCOMPARE(wizard.productCodes().size(), 16);
    QCOMPARE(wizard.productCodes().value(QStringLiteral("PELDA+ 2015 RUS")),
             QStringLiteral("{6B41C7D2-B002-1049-B102-7E93A0C5D814}"));
    QCOMPARE(wizard.productCodes().value(QStringLiteral("PELDA+ 2015")),
             QStringLiteral("{6B41C7D2-B002-0000-B002-7E93A0C5D814}"));
    QCOMPARE(wizard.productCodes().value(QStringLiteral("PELDA+ 2015 ESN")),
             QStringLiteral("{6B41C7D2-B002-3082-B102-7E93A0C5D814}"));

    wizard.initProductCodes(); // refilling replaces, never duplicates
    QCOMPARE(wizard.productCodes().size(), 16);
}

void tst_EditionCatalogue::productCodeLookupIsExact_data()
{
    QTest::addColumn<QString>("displayName");
    QTest::addColumn<QString>("productCode");
    QTest::newRow("exact") << "PELDA+ 2015 CHS"
                           << "{6B41C7D2-B002-2052-B102-7E93A0C5D814}";
    QTest::newRow("lower case") << "pelda+ 2015 chs"
                                << "";
    QTest::newRow("trailing blank") << "PELDA+ 2015 CHS "
                                    << "";
    QTest::newRow("prefix alone") << "PELDA+ 2015 "
                                  << "";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_EditionCatalogue::productCodeLookupIsExact()
{
    QFETCH(QString, displayName);
    QFETCH(QString, productCode);
    RemedorWiz wizard;
    QCOMPARE(wizard.productCodes().value(displayName), productCode);
}

void tst_EditionCatalogue::languageCodeForLocale_data()
{
    QTest::addColumn<QString>("localeTag");
    QTest::addColumn<QString>("languageCode");
    QTest::newRow("exact") << "zh-CN"
                           << "CHS";
    QTest::newRow("upper") << "ZH-CN"
                           << "CHS";
    QTest::newRow("mixed") << "zH-cN"
                           << "CHS";
    QTest::newRow("traditional") << "zh-TW"
                                 << "CHT";
    QTest::newRow("english") << "en-us"
                             << "ENU";
    QTest::newRow("turkish last") << "tr-TR"
                                  << "TRK";
    QTest::newRow("underscore") << "zh_CN"
                                << "";
    QTest::newRow("leading blank") << " zh-CN"
                                   << "";
    QTest::newRow("trailing blank") << "zh-CN "
                                    << "";
    QTest::newRow("language part") << "zh"
                                   << "";
    QTest::newRow("not in table") << "en-GB"
                                  << "";
    QTest::newRow("old spanish sort is the same tag") << "es-ES"
                                                      << "ESN";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_EditionCatalogue::languageCodeForLocale()
{
    QFETCH(QString, localeTag);
    QFETCH(QString, languageCode);
    RemedorWiz wizard;
    QCOMPARE(wizard.languageCodeForLocale(localeTag), languageCode);
}

void tst_EditionCatalogue::localeForEdition_data()
{
    QTest::addColumn<QString>("displayName");
    QTest::addColumn<QString>("localeTag");
    QTest::newRow("exact") << "PELDA+ 2015 ESN"
                           << "es-ES";
    QTest::newRow("lower case") << "pelda+ 2015 esn"
                                << "es-ES";
    QTest::newRow("suite") << "PELDA+ 2015"
                           << "";
    QTest::newRow("trailing blank") << "PELDA+ 2015 ESN "
                                    << "";
    QTest::newRow("prefix alone") << "PELDA+ 2015 "
                                  << "";
    QTest::newRow("language code alone") << "ESN"
                                         << "";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_EditionCatalogue::localeForEdition()
{
    QFETCH(QString, displayName);
    QFETCH(QString, localeTag);
    RemedorWiz wizard;
    QCOMPARE(wizard.localeForEdition(displayName), localeTag);
}

void tst_EditionCatalogue::everyLocaleRoundTrips_data()
{
    QTest::addColumn<QString>("localeTag");
    for (const Edition &edition : EditionCatalogue::editions())
        QTest::newRow(edition.languageCode) << QString::fromLatin1(edition.localeTag);
}

void tst_EditionCatalogue::everyLocaleRoundTrips()
{
    QFETCH(QString, localeTag);
    RemedorWiz wizard;
    const QString displayName
        = QStringLiteral("PELDA+ 2015 ") + wizard.languageCodeForLocale(localeTag);
    QVERIFY2(wizard.productCodes().contains(displayName), qPrintable(displayName));
    QCOMPARE(wizard.localeForEdition(displayName), localeTag);
    QCOMPARE(displayName.size(), 15);
}

// The fifteen edition codes differ only in the third group, which is the edition's LCID.
void tst_EditionCatalogue::productCodesShareAllButTheLanguageGroup()
{
    const QStringList lcids = { "2052", "1028", "1029", "1031", "1033", "1036", "1038", "1040",
                                "1041", "1042", "1045", "1046", "1049", "1055", "3082" };
    QSet<QString> seen;
    for (const Edition &edition : EditionCatalogue::editions()) {
        const QString code = QString::fromLatin1(edition.productCode);
        QCOMPARE(code.size(), 38);
        QCOMPARE(code.left(15), QStringLiteral("{6B41C7D2-B002-"));
        QCOMPARE(code.mid(19), QStringLiteral("-B102-7E93A0C5D814}"));
        QVERIFY(lcids.contains(code.mid(15, 4)));
        seen.insert(code.mid(15, 4));
    }
    QCOMPARE(seen.size(), 15);
}

QTEST_MAIN(tst_EditionCatalogue)
#include "tst_editioncatalogue.moc"
