#ifndef PROCESSPAGE_H
#define PROCESSPAGE_H

#include "installeroutcome.h"
#include "keyremoval.h"
#include "removalobserver.h"
#include "removalrun.h"

#include <QWizardPage>

class QLabel;
class QProgressBar;
class QTimer;

// Counts a progress bar up every 300 ms; its first tick performs the whole removal run:
// every ticked edition in catalogue order, then the suite and the bootstrapper's entry when
// the bootstrapper's own language was among them. The tick that finds 100 moves on to the
// Finish page. The outcome of each installer, and each key that could not be removed, are
// published as wizard fields.
class ProcessPage : public QWizardPage, private RemovalObserver
{
    Q_OBJECT
    Q_PROPERTY(InstallerOutcomes installerOutcomes READ installerOutcomes)
    Q_PROPERTY(KeyRemovals keyFailures READ keyFailures)

public:
    explicit ProcessPage(QWidget *parent = nullptr);

    void initializePage() override;
    int nextId() const override;
    bool validatePage() override;

    void removeRegistryKey(QString path, QString name);
    void removeEdition(QString displayName);

    InstallerOutcomes installerOutcomes() const { return m_installerOutcomes; }
    KeyRemovals keyFailures() const { return m_keyFailures; }
    static QString outcomesField();
    static QString keyFailuresField();

    static constexpr int tickInterval = 300; // ms

public Q_SLOTS:
    void onTimeOut();

private:
    // The run's steps move the bar and pace the timer.
    void installerStarting(const QString &displayName, const QString &commandLine) override;
    void installerFinished(const InstallerOutcome &outcome, qint64 milliseconds) override;
    void keyRemoved(const KeyRemoval &removal) override;
    void stepFinished(const QString &displayName, Step step) override;

    void advanceProgress(int amount);

    QLabel *m_label;
    QProgressBar *m_progressBar;
    QTimer *m_timer;
    RemovalRun m_removal { this };
    bool m_removalStarted = false; // the run happens at most once
    InstallerOutcomes m_installerOutcomes;
    KeyRemovals m_keyFailures;
};

#endif // PROCESSPAGE_H
