#include "finishpage.h"

#include "processpage.h"
#include "wizardimage.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>
#include <QWizard>

#include <algorithm>

FinishPage::FinishPage(QWidget *parent)
    : QWizardPage(parent)
{
    setTitle(tr("Finished"));
    setPixmap(QWizard::WatermarkPixmap,
              WizardImage::load(QStringLiteral(":/Remedor/Resources/images/watermark.png")));

    m_messageLabel = new QLabel(message());
    m_messageLabel->setObjectName(QStringLiteral("messageLabel"));
    m_messageLabel->setWordWrap(true);

    m_restartLabel = new QLabel(tr("Please restart the computer to complete the removal."));
    m_restartLabel->setObjectName(QStringLiteral("restartLabel"));
    m_restartLabel->setWordWrap(true);
    m_restartLabel->hide();

    auto *layout = new QVBoxLayout;
    layout->addWidget(m_messageLabel);
    layout->addWidget(m_restartLabel);
    setLayout(layout);
}

void FinishPage::initializePage()
{
    showReport(field(ProcessPage::outcomesField()).value<InstallerOutcomes>(),
               field(ProcessPage::keyFailuresField()).value<KeyRemovals>());
}

int FinishPage::nextId() const
{
    return -1;
}

QString FinishPage::message() const
{
    return tr("All operation completed.\n\n\n\nThe files under the installation "
              "directory, shortcut on the desktop and start menu shortcuts may not be "
              "deleted, please delete these items manually.");
}

void FinishPage::showReport(const InstallerOutcomes &outcomes, const KeyRemovals &keyFailures)
{
    if (!m_failureList)
        createFailureList();
    m_failureList->clear();

    const bool anyFailure = std::any_of(outcomes.cbegin(), outcomes.cend(),
                                        [](const InstallerOutcome &o) { return o.isFailure(); });
    if (anyFailure) {
        addHeading(tr("Some packages could not be uninstalled cleanly:"));
        for (const InstallerOutcome &outcome : outcomes) {
            if (outcome.isFailure())
                addLine(failureLine(outcome));
        }
    }
    if (!keyFailures.isEmpty()) {
        addHeading(tr("Some registry keys could not be removed:"));
        for (const KeyRemoval &removal : keyFailures)
            addLine(QStringLiteral("%1: %2").arg(removal.path, removal.reason));
    }
    m_failureList->setVisible(m_failureList->count() > 0);

    const bool restart
        = std::any_of(outcomes.cbegin(), outcomes.cend(), [](const InstallerOutcome &o) {
              return o.status == InstallerOutcome::RestartRequired;
          });
    m_restartLabel->setVisible(restart);
}

QString FinishPage::failureLine(const InstallerOutcome &outcome) const
{
    switch (outcome.status) {
    case InstallerOutcome::NotStarted:
        return tr("%1: the uninstaller could not be started.").arg(outcome.displayName);
    case InstallerOutcome::Crashed:
        return tr("%1: the uninstaller stopped unexpectedly.").arg(outcome.displayName);
    case InstallerOutcome::AnotherInstallation:
    case InstallerOutcome::Failed:
        return tr("%1: the uninstaller ended with exit code %2.")
            .arg(outcome.displayName, QString::number(outcome.exitCode));
    default:
        return QString();
    }
}

// The list goes between the message and the restart line, hidden unless something failed.
// It is made with the report rather than with the page: of all the widgets the wizard builds
// before its first page shows, it is the costliest, and most runs never show it.
void FinishPage::createFailureList()
{
    m_failureList = new QListWidget;
    m_failureList->setObjectName(QStringLiteral("failureList"));
    m_failureList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_failureList->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_failureList->hide();
    addCopyAction();
    qobject_cast<QVBoxLayout *>(layout())->insertWidget(1, m_failureList, 1);
}

// Ctrl+C anywhere in the window while the report shows, and Copy in the list's context menu.
// The action belongs to the list, so it is off whenever the list is hidden.
void FinishPage::addCopyAction()
{
    auto *copy = new QAction(tr("&Copy"), m_failureList);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WindowShortcut);
    connect(copy, &QAction::triggered, this, &FinishPage::copyReport);
    m_failureList->addAction(copy);
    m_failureList->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void FinishPage::copyReport() const
{
    const bool everything = m_failureList->selectedItems().isEmpty();
    QStringList lines;
    for (int row = 0; row < m_failureList->count(); ++row) {
        const QListWidgetItem *line = m_failureList->item(row);
        if (everything || line->isSelected())
            lines.append(line->text());
    }
    QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

// A line wider than the list scrolls sideways; its tooltip shows it whole.
void FinishPage::addLine(const QString &text)
{
    auto *line = new QListWidgetItem(text, m_failureList);
    line->setToolTip(text);
}

// A heading stands in the list above its lines, in bold; it is selected and copied like them.
void FinishPage::addHeading(const QString &text)
{
    auto *heading = new QListWidgetItem(text, m_failureList);
    QFont font = heading->font();
    font.setBold(true);
    heading->setFont(font);
}
