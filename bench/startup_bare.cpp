// The baseline for Remedor's start-up: a bare QWizard with one page holding a label, built
// and shown the way Remedor builds and shows its wizard, ended by the same signal.

#include "exitonexpose.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWizard>
#include <QWizardPage>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    new ExitOnFirstExpose(&application);

    QWizard wizard(nullptr, Qt::WindowFlags());
    auto *page = new QWizardPage;
    page->setTitle(QStringLiteral("Welcome"));
    auto *layout = new QVBoxLayout;
    layout->addWidget(new QLabel(QStringLiteral("A page with a label.")));
    page->setLayout(layout);
    wizard.addPage(page);
    wizard.setWindowTitle(QStringLiteral("Bare Wizard"));
    wizard.show();
    return QApplication::exec();
}
