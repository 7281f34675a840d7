#ifndef PRODUCTSPAGE_H
#define PRODUCTSPAGE_H

#include <QList>
#include <QWizardPage>

class QCheckBox;
class QPushButton;

// The edition choice: fifteen check boxes in five rows of three, each published as a
// boolean wizard field named by the edition's display name. Next is enabled only while at
// least one box is ticked.
class ProductsPage : public QWizardPage
{
    Q_OBJECT

public:
    explicit ProductsPage(QWidget *parent = nullptr);

    int nextId() const override;

public Q_SLOTS:
    void onSelectAllClick();
    void onUnselectAllClick();
    void onStateChanged(int state);
    bool isComplete() const override;

private:
    void setAllChecked(bool checked);

    QList<QCheckBox *> m_editionBoxes; // catalogue order
    QPushButton *m_selectAllButton;
    QPushButton *m_unselectAllButton;
};

#endif // PRODUCTSPAGE_H
