#include "finishpage.h"

#include "processpage.h"
#include "wizardimage.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QWizard>

#include <algorithm>

FinishPage::FinishPage(QWidget *parent)
    : QWizardPage(parent)
{
    setTitle(tr("Finished"));
    setPixmap(QWizard::WatermarkPixmap,
              WizardImage::load(QStringLiteral(":/Remedor/Resources/images/watermark.png")));

    m_messageLabel = new QLabel(message({}));
    m_messageLabel->setObjectName(QStringLiteral("messageLabel"));
    m_messageLabel->setWordWrap(true);

    auto *layout = new QVBoxLayout;
    layout->addWidget(m_messageLabel);
    setLayout(layout);
}

void FinishPage::initializePage()
{
    m_messageLabel->setText(
        message(field(ProcessPage::outcomesField()).value<InstallerOutcomes>()));
}

int FinishPage::nextId() const
{
    return -1;
}

QString FinishPage::message(const InstallerOutcomes &outcomes) const
{
    QString text = tr("All operation completed.\n\n\n\nThe files under the installation "
                      "directory, shortcut on the desktop and start menu shortcuts may not be "
                      "deleted, please delete these items manually.");

    const bool anyFailure = std::any_of(outcomes.cbegin(), outcomes.cend(),
                                        [](const InstallerOutcome &o) { return o.isFailure(); });
    if (anyFailure) {
        text += QLatin1String("\n\n") + tr("Some packages could not be uninstalled cleanly:");
        for (const InstallerOutcome &outcome : outcomes) {
            switch (outcome.status) {
            case InstallerOutcome::NotStarted:
                text += QLatin1Char('\n')
                    + tr("%1: the uninstaller could not be started.").arg(outcome.displayName);
                break;
            case InstallerOutcome::Crashed:
                text += QLatin1Char('\n')
                    + tr("%1: the uninstaller stopped unexpectedly.").arg(outcome.displayName);
                break;
            case InstallerOutcome::Failed:
                text += QLatin1Char('\n')
                    + tr("%1: the uninstaller ended with exit code %2.")
                          .arg(outcome.displayName, QString::number(outcome.exitCode));
                break;
            default:
                break;
            }
        }
    }

    const bool restart
        = std::any_of(outcomes.cbegin(), outcomes.cend(), [](const InstallerOutcome &o) {
              return o.status == InstallerOutcome::RestartRequired;
          });
    if (restart)
        text += QLatin1String("\n\n") + tr("Please restart the computer to complete the removal.");
    return text;
}
