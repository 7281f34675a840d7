#include "confirmpage.h"

#include "editioncatalogue.h"
#include "remedorwiz.h"

#include <QLabel>
#include <QVBoxLayout>

ConfirmPage::ConfirmPage(QWidget *parent)
    : QWizardPage(parent)
{
    setTitle(tr("Confirm"));
    setSubTitle(tr("Confirm what will to do."));

    m_summaryLabel = new QLabel;
    m_summaryLabel->setObjectName(QStringLiteral("summaryLabel"));
    m_summaryLabel->setWordWrap(true);
    auto *layout = new QVBoxLayout;
    layout->addWidget(m_summaryLabel);

    m_hintLabel = new QLabel(tr("Click \"Next\" to start."));
    m_hintLabel->setObjectName(QStringLiteral("hintLabel"));
    layout->addStretch(0);
    layout->addWidget(m_hintLabel);
    setLayout(layout);
}

void ConfirmPage::initializePage()
{
    QString summary = tr("All the registry information of the following products will be "
                         "removed from this computer.\n");
    for (const Edition &edition : EditionCatalogue::editions()) {
        const QString name = EditionCatalogue::displayName(edition);
        if (field(name).toBool())
            summary += QLatin1Char('\t') + name + QLatin1Char('\n');
    }
    m_summaryLabel->setText(summary);
}

int ConfirmPage::nextId() const
{
    return RemedorWiz::ProcessPageId;
}
