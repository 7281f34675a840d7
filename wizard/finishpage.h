#ifndef FINISHPAGE_H
#define FINISHPAGE_H

#include "installeroutcome.h"

#include <QWizardPage>

class QLabel;

// The last page: the work is done, and what is left to delete by hand. When an installer
// failed or asked for a restart, the message says so below its first paragraph.
class FinishPage : public QWizardPage
{
    Q_OBJECT

public:
    explicit FinishPage(QWidget *parent = nullptr);

    void initializePage() override;
    int nextId() const override;

    QString message(const InstallerOutcomes &outcomes) const;

private:
    QLabel *m_messageLabel;
};

#endif // FINISHPAGE_H
