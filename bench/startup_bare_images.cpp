// The second baseline for Remedor's start-up: the bare wizard of startup_bare.cpp, in the
// wizard style Remedor uses, also showing Remedor's two images (the watermark on its page,
// the logo set on the wizard), read from the same embedded resources in the cheapest way Qt
// offers: a PNG reader that asks no image-format plug-in. What Remedor takes beyond this
// floor is its own pages and start-up steps, not the pictures it must show.

#include "exitonexpose.h"

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>
#include <QWizard>
#include <QWizardPage>

namespace {

QPixmap readPng(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QPixmap();
    QImageReader reader(&file, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    new ExitOnFirstExpose(&application);

    QWizard wizard(nullptr, Qt::WindowFlags());
    wizard.setWizardStyle(QWizard::ModernStyle);
    auto *page = new QWizardPage;
    page->setTitle(QStringLiteral("Welcome"));
    page->setPixmap(QWizard::WatermarkPixmap,
                    readPng(QStringLiteral(":/Remedor/Resources/images/watermark.png")));
    auto *layout = new QVBoxLayout;
    layout->addWidget(new QLabel(QStringLiteral("A page with a label.")));
    page->setLayout(layout);
    wizard.addPage(page);
    wizard.setPixmap(QWizard::LogoPixmap,
                     readPng(QStringLiteral(":/Remedor/Resources/images/logo.png")));
    wizard.setWindowTitle(QStringLiteral("Bare Wizard"));
    wizard.show();
    return QApplication::exec();
}
