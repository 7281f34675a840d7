#ifndef CONFIRMPAGE_H
#define CONFIRMPAGE_H

#include <QWizardPage>

class QLabel;

// Lists the ticked editions before anything is done; the list is rebuilt on every visit.
class ConfirmPage : public QWizardPage
{
    Q_OBJECT

public:
    explicit ConfirmPage(QWidget *parent = nullptr);

    void initializePage() override;
    int nextId() const override;

private:
    QLabel *m_summaryLabel;
    QLabel *m_hintLabel;
};

#endif // CONFIRMPAGE_H
