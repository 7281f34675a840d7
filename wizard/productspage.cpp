#include "productspage.h"

#include "editioncatalogue.h"
#include "remedorwiz.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int boxesPerRow = 3;
}

ProductsPage::ProductsPage(QWidget *parent)
    : QWizardPage(parent)
{
    setTitle(tr("Select Product"));
    setSubTitle(tr("Please select a product that you want to uninstall."));

    auto *layout = new QVBoxLayout;
    QHBoxLayout *row = nullptr;
    for (const Edition &edition : EditionCatalogue::editions()) {
        if (m_editionBoxes.size() % boxesPerRow == 0) {
            row = new QHBoxLayout;
            layout->addLayout(row);
        }
        auto *box = new QCheckBox(EditionCatalogue::displayName(edition));
        box->setObjectName(EditionCatalogue::displayName(edition));
        row->addWidget(box);
        m_editionBoxes.append(box);
    }

    auto *buttonRow = new QHBoxLayout;
    layout->addSpacing(20);
    m_selectAllButton = new QPushButton(tr("Select &all"));
    m_selectAllButton->setObjectName(QStringLiteral("selectAllButton"));
    m_unselectAllButton = new QPushButton(tr("&Unselect all"));
    m_unselectAllButton->setObjectName(QStringLiteral("unselectAllButton"));
    buttonRow->addWidget(m_selectAllButton);
    buttonRow->addWidget(m_unselectAllButton);
    buttonRow->addStretch(0);
    layout->addLayout(buttonRow);
    setLayout(layout);

    for (QCheckBox *box : std::as_const(m_editionBoxes))
        registerField(box->text(), box, "checked");

    for (QCheckBox *box : std::as_const(m_editionBoxes))
        connect(box, &QCheckBox::stateChanged, this, &ProductsPage::onStateChanged);
    connect(m_selectAllButton, &QPushButton::clicked, this, &ProductsPage::onSelectAllClick);
    connect(m_unselectAllButton, &QPushButton::clicked, this, &ProductsPage::onUnselectAllClick);
}

int ProductsPage::nextId() const
{
    return RemedorWiz::ConfirmPageId;
}

void ProductsPage::onSelectAllClick()
{
    setAllChecked(true);
}

void ProductsPage::onUnselectAllClick()
{
    setAllChecked(false);
}

void ProductsPage::onStateChanged(int state)
{
    Q_UNUSED(state)
    Q_EMIT completeChanged();
}

bool ProductsPage::isComplete() const
{
    return std::any_of(m_editionBoxes.cbegin(), m_editionBoxes.cend(),
                       [](const QCheckBox *box) { return box->isChecked(); });
}

void ProductsPage::setAllChecked(bool checked)
{
    for (QCheckBox *box : std::as_const(m_editionBoxes))
        box->setChecked(checked);
}
