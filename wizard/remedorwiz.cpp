#include "remedorwiz.h"

#include "confirmpage.h"
#include "editioncatalogue.h"
#include "finishpage.h"
#include "packedproductcode.h"
#include "processpage.h"
#include "productspage.h"
#include "runlock.h"
#include "welcomepage.h"
#include "wizardimage.h"

#include <QAbstractButton>
#include <QMessageBox>

RemedorWiz::RemedorWiz(QWidget *parent)
    : QWizard(parent, Qt::WindowFlags())
{
    initProductCodes(); // before any page exists

    setPage(WelcomePageId, new WelcomePage);
    setPage(ProductsPageId, new ProductsPage);
    setPage(ConfirmPageId, new ConfirmPage);
    setPage(ProcessPageId, new ProcessPage);
    setPage(FinishPageId, new FinishPage);
    setStartId(WelcomePageId);

    setWizardStyle(QWizard::ModernStyle);
    setOption(QWizard::HaveHelpButton, true);
    setPixmap(QWizard::LogoPixmap,
              WizardImage::load(QStringLiteral(":/Remedor/Resources/images/logo.png")));
    setWindowTitle(tr("Remedor Wizard"));
    setButtonText(QWizard::BackButton, tr("< &Back"));
    setButtonText(QWizard::NextButton, tr("&Next >"));
    setButtonText(QWizard::CancelButton, tr("&Cancel"));
    setButtonText(QWizard::FinishButton, tr("&Finish"));

    connect(this, &QWizard::currentIdChanged, this, &RemedorWiz::onCurrentIdChanged);
}

void RemedorWiz::initProductCodes()
{
    m_productCodes.clear();
    m_productCodes.insert(EditionCatalogue::suiteDisplayName(),
                          EditionCatalogue::suiteProductCode());
    for (const Edition &edition : EditionCatalogue::editions())
        m_productCodes.insert(EditionCatalogue::displayName(edition),
                              QLatin1String(edition.productCode));
}

QString RemedorWiz::languageCodeForLocale(const QString &localeTag) const
{
    return EditionCatalogue::languageCodeForLocale(localeTag);
}

QString RemedorWiz::localeForEdition(const QString &displayName) const
{
    return EditionCatalogue::localeForEdition(displayName);
}

QString RemedorWiz::packedProductCode(const QString &productCode) const
{
    return PackedProductCode::fromProductCode(productCode);
}

bool RemedorWiz::takeRunLock(RunLock &lock)
{
    const RunLock::Outcome outcome = lock.acquire();
    if (outcome == RunLock::Outcome::Held)
        return true;
    QMessageBox::warning(nullptr, tr("Remedor Wizard"),
                         outcome == RunLock::Outcome::Busy
                             ? tr("Another Remedor run is in progress. Try again when it has "
                                  "ended.")
                             : tr("Remedor cannot make sure that no other removal is under way: "
                                  "%1")
                                   .arg(lock.error()));
    return false;
}

// Once the removal has begun there is no way back and no way out: Back and Cancel stay
// disabled on the Process and Finish pages. The Help button is never shown.
void RemedorWiz::onCurrentIdChanged(int id)
{
    if (id == ProcessPageId || id == FinishPageId) {
        button(QWizard::BackButton)->setEnabled(false);
        button(QWizard::CancelButton)->setEnabled(false);
    }
    button(QWizard::HelpButton)->setVisible(false);
}
