#ifndef REMEDORWIZ_H
#define REMEDORWIZ_H

#include <QMap>
#include <QString>
#include <QWizard>

class RunLock;

// The uninstall wizard: five pages in a fixed, linear order. It owns the map from edition
// display name to product code and carries the catalogue lookups the pages use.
class RemedorWiz : public QWizard
{
    Q_OBJECT

public:
    // The page ids, in page order.
    enum PageId { WelcomePageId = 0, ProductsPageId, ConfirmPageId, ProcessPageId, FinishPageId };

    explicit RemedorWiz(QWidget *parent = nullptr);

    void initProductCodes();
    const QMap<QString, QString> &productCodes() const { return m_productCodes; }

    QString languageCodeForLocale(const QString &localeTag) const;
    QString localeForEdition(const QString &displayName) const;
    QString packedProductCode(const QString &productCode) const;

    // Takes the machine's run lock into LOCK before any wizard exists. While another removal
    // holds it, or when it cannot be taken, a message box says so and the answer is false: the
    // program ends before its first page.
    static bool takeRunLock(RunLock &lock);

public Q_SLOTS:
    void onCurrentIdChanged(int id);

private:
    QMap<QString, QString> m_productCodes;
};

#endif // REMEDORWIZ_H
