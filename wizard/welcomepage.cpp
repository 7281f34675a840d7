#include "welcomepage.h"

#include "remedorwiz.h"
#include "wizardimage.h"

#include <QLabel>
#include <QVBoxLayout>

WelcomePage::WelcomePage(QWidget *parent)
    : QWizardPage(parent)
{
    setTitle(tr("Welcome"));
    setPixmap(QWizard::WatermarkPixmap,
              WizardImage::load(QStringLiteral(":/Remedor/Resources/images/watermark.png")));

    m_messageLabel = new QLabel(tr("This tool used to uninstall PELDA+."));
    m_messageLabel->setObjectName(QStringLiteral("messageLabel"));
    m_messageLabel->setWordWrap(true);

    auto *layout = new QVBoxLayout;
    layout->addWidget(m_messageLabel);
    setLayout(layout);
}

int WelcomePage::nextId() const
{
    return RemedorWiz::ProductsPageId;
}
