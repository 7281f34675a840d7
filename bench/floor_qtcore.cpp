// The floor of a Qt console program's start: the application object made and gone, linked
// against Qt Core as remedor-cli is, and nothing else.
#include <QCoreApplication>

int main(int argc, char *argv[])
{
    const QCoreApplication application(argc, argv);
    return 0;
}
