#include "updater.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Updater updater(QCoreApplication::arguments().mid(1));
    return updater.run();
}
