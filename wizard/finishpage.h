#ifndef FINISHPAGE_H
#define FINISHPAGE_H

#include "installeroutcome.h"
#include "keyremoval.h"

#include <QWizardPage>

class QLabel;
class QListWidget;

// The last page: the work is done, and what is left to delete by hand. When an installer
// failed or a registry key could not be removed, a list below the message names each one,
// one line apiece, and scrolls when there are many; a restart that an installer asked for
// is said last. The list's lines can be selected and copied as plain text.
class FinishPage : public QWizardPage
{
    Q_OBJECT

public:
    explicit FinishPage(QWidget *parent = nullptr);

    void initializePage() override;
    int nextId() const override;

    // Shows what went wrong, or nothing more than the message when all went well.
    void showReport(const InstallerOutcomes &outcomes, const KeyRemovals &keyFailures);

private:
    QString message() const;
    // The line for one package that did not uninstall cleanly; empty for one that did.
    QString failureLine(const InstallerOutcome &outcome) const;
    void createFailureList();
    void addCopyAction();
    // Puts the selected lines, or every line when none is selected, on the clipboard, one
    // per line.
    void copyReport() const;
    void addHeading(const QString &text);
    void addLine(const QString &text);

    QLabel *m_messageLabel;
    QListWidget *m_failureList = nullptr;
    QLabel *m_restartLabel;
};

#endif // FINISHPAGE_H
