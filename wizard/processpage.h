#ifndef PROCESSPAGE_H
#define PROCESSPAGE_H

#include "installeroutcome.h"

#include <QWizardPage>

class QLabel;
class QProgressBar;
class QTimer;

// Counts a progress bar up every 300 ms; its first tick performs the whole removal run:
// every ticked edition in catalogue order, then the suite and the bootstrapper's entry when
// the bootstrapper's own language was among them. The tick that finds 100 moves on to the
// Finish page. The outcome of each installer is published as a wizard field.
class ProcessPage : public QWizardPage
{
    Q_OBJECT
    Q_PROPERTY(InstallerOutcomes installerOutcomes READ installerOutcomes)

public:
    explicit ProcessPage(QWidget *parent = nullptr);

    void initializePage() override;
    int nextId() const override;
    bool validatePage() override;

    void removeRegistryKey(QString path, QString name);
    void removeEdition(QString displayName);

    InstallerOutcomes installerOutcomes() const { return m_installerOutcomes; }
    static QString outcomesField();

    static constexpr int tickInterval = 300; // ms

public Q_SLOTS:
    void onTimeOut();

private:
    void runRemoval();
    QString bootstrapperLanguage() const;
    void advanceProgress(int amount);

    QLabel *m_label;
    QProgressBar *m_progressBar;
    QTimer *m_timer;
    bool m_removalStarted = false; // the run happens at most once
    InstallerOutcomes m_installerOutcomes;
};

#endif // PROCESSPAGE_H
