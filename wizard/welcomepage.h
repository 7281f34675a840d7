#ifndef WELCOMEPAGE_H
#define WELCOMEPAGE_H

#include <QWizardPage>

class QLabel;

// The first page: one sentence on what the tool does, beside the watermark.
class WelcomePage : public QWizardPage
{
    Q_OBJECT

public:
    explicit WelcomePage(QWidget *parent = nullptr);

    int nextId() const override;

private:
    QLabel *m_messageLabel;
};

#endif // WELCOMEPAGE_H
