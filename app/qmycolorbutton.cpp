#include "qmycolorbutton.h"

QMyColorButton::QMyColorButton(int index, const QString &text, QWidget *parent)
    : QPushButton(text, parent), idx(index)
{
    connect(this, &QPushButton::clicked, this, [this] { emit change(idx); });
}
