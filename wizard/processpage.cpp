#include "processpage.h"

#include "remedorwiz.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int progressStep = 5;

} // namespace

ProcessPage::ProcessPage(QWidget *parent)
    : QWizardPage(parent)
{
    setTitle(tr("Process"));
    setSubTitle(tr("Processing..."));

    m_label = new QLabel(tr("Processing..."));
    m_label->setWordWrap(true);
    auto *layout = new QVBoxLayout;
    layout->addStretch(0);
    layout->addWidget(m_label);

    // 24, not 0: the mandatory field then differs from its initial value once the page
    // is entered at 0, so the page counts as complete from the start.
    m_progressBar = new QProgressBar;
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setValue(24);
    layout->addWidget(m_progressBar);
    layout->addStretch(0);
    setLayout(layout);

    registerField(QStringLiteral("process.progress*"), m_progressBar, "value");
    registerField(outcomesField(), this, "installerOutcomes");
    registerField(keyFailuresField(), this, "keyFailures");

    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &ProcessPage::onTimeOut);
}

QString ProcessPage::outcomesField()
{
    return QStringLiteral("process.installerOutcomes");
}

QString ProcessPage::keyFailuresField()
{
    return QStringLiteral("process.keyFailures");
}

void ProcessPage::initializePage()
{
    m_progressBar->setValue(0);
    m_timer->start(tickInterval);
}

int ProcessPage::nextId() const
{
    return RemedorWiz::FinishPageId;
}

// Next stays without effect until the run has happened, so that the Finish page never
// announces a removal that has not taken place. Once the wizard leaves, the timer stops:
// a later tick would re-evaluate the buttons of the Finish page and bring Back back.
bool ProcessPage::validatePage()
{
    if (!m_removalStarted)
        return false;
    m_timer->stop();
    return true;
}

void ProcessPage::onTimeOut()
{
    const int value = m_progressBar->value();
    if (value + progressStep <= 100) {
        m_progressBar->setValue(value + progressStep);
    } else if (value < 100) {
        m_progressBar->setValue(100);
    } else {
        m_timer->stop();
        Q_EMIT completeChanged();
        wizard()->next();
    }

    if (m_removalStarted)
        return;
    m_removalStarted = true;
    m_removal.run([this](const QString &displayName) { return field(displayName).toBool(); });
}

void ProcessPage::removeRegistryKey(QString path, QString name)
{
    m_removal.removeKey(path, name);
}

void ProcessPage::removeEdition(QString displayName)
{
    if (!qobject_cast<RemedorWiz *>(wizard()))
        return;
    m_removal.removePackage(displayName);
}

void ProcessPage::installerStarting(const QString &, const QString &)
{
    m_timer->stop();
}

void ProcessPage::installerFinished(const InstallerOutcome &outcome, qint64)
{
    m_installerOutcomes.append(outcome);
}

void ProcessPage::keyRemoved(const KeyRemoval &removal)
{
    if (removal.isFailure())
        m_keyFailures.append(removal);
}

void ProcessPage::stepFinished(const QString &, Step step)
{
    switch (step) {
    case Step::Installer:
        advanceProgress(2);
        m_timer->start(tickInterval);
        break;
    case Step::SettingsKeys:
    case Step::UninstallEntry:
    case Step::ProductsEntry:
        advanceProgress(1);
        break;
    case Step::BootstrapperEntry:
        break;
    }
}

void ProcessPage::advanceProgress(int amount)
{
    m_progressBar->setValue(m_progressBar->value() + amount);
}
