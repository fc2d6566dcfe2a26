#include "qmyaction.h"

QMyAction::QMyAction(int index, QObject *parent) : QAction(parent), idx(index)
{
    connect(this, &QAction::triggered, this, [this] { emit recentFileQAClicked(idx); });
}
