#include "processpage.h"

#include "editioncatalogue.h"
#include "registrykey.h"
#include "remedorwiz.h"
#include "windowsinstaller.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QLatin1String
    uninstallKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
const QLatin1String bootstrapperKeyName("{3F1A92C4-7B5E-4D08-9C61-2A8E5B07D3F9}");
const QLatin1String machineSettingsKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\DAWLIX\\PELDA\\2015");
const QLatin1String userSettingsKey("HKEY_CURRENT_USER\\SOFTWARE\\DAWLIX\\PELDA\\2015");
const QLatin1String installerProductsKey("HKEY_CLASSES_ROOT\\Installer\\Products");

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

    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &ProcessPage::onTimeOut);
}

QString ProcessPage::outcomesField()
{
    return QStringLiteral("process.installerOutcomes");
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
// announces a removal that has not taken place.
bool ProcessPage::validatePage()
{
    return m_removalStarted;
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
    runRemoval();
}

void ProcessPage::runRemoval()
{
    const QString bootstrapperLanguageCode = bootstrapperLanguage();

    for (const Edition &edition : EditionCatalogue::editions()) {
        const QString name = EditionCatalogue::displayName(edition);
        if (field(name).toBool())
            removeEdition(name);
    }

    // Without a known bootstrapper language there is no such edition field to read.
    if (!bootstrapperLanguageCode.isEmpty()
        && field(EditionCatalogue::displayNameForLanguage(bootstrapperLanguageCode)).toBool()) {
        removeEdition(EditionCatalogue::suiteDisplayName());
        removeRegistryKey(uninstallKey, bootstrapperKeyName);
    }
}

QString ProcessPage::bootstrapperLanguage() const
{
    auto *wiz = qobject_cast<RemedorWiz *>(wizard());
    if (!wiz
        || !RegistryKey(uninstallKey).childKeys().contains(bootstrapperKeyName, Qt::CaseSensitive))
        return QString();
    const RegistryKey bootstrapper(uninstallKey + QLatin1Char('\\') + bootstrapperKeyName);
    return wiz->languageCodeForLocale(bootstrapper.stringValue(QStringLiteral("PeldaLanguage")));
}

void ProcessPage::removeRegistryKey(QString path, QString name)
{
    RegistryKey(path).removeChildKey(name);
}

void ProcessPage::removeEdition(QString displayName)
{
    auto *wiz = qobject_cast<RemedorWiz *>(wizard());
    if (!wiz)
        return;
    const QString productCode = wiz->productCodes().value(displayName);
    const QString packedProductCode = wiz->packedProductCode(productCode);

    m_timer->stop();
    const QString command = QLatin1String("msiexec.exe /X") + productCode
        + QLatin1String(" /quiet /passive /norestart KEEPUSERDATA=yes");
    m_installerOutcomes.append(WindowsInstaller::run(displayName, command));
    advanceProgress(2);
    m_timer->start(tickInterval);

    // The registrations go whatever the installer did: removing them is this tool's purpose.
    const QString localeTag = wiz->localeForEdition(displayName);
    if (!localeTag.isEmpty()) {
        removeRegistryKey(machineSettingsKey, localeTag);
        removeRegistryKey(userSettingsKey, localeTag);
        advanceProgress(1);
    }
    removeRegistryKey(uninstallKey, productCode);
    advanceProgress(1);
    removeRegistryKey(installerProductsKey, packedProductCode);
    advanceProgress(1);
}

void ProcessPage::advanceProgress(int amount)
{
    m_progressBar->setValue(m_progressBar->value() + amount);
}
