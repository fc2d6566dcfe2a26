#pragma once

#include <QPushButton>

// A "Change..." button of the colour settings dialog: carries the index of its row and reports
// it when clicked.
class QMyColorButton final : public QPushButton
{
    Q_OBJECT

public:
    QMyColorButton(int index, const QString &text, QWidget *parent = nullptr);
    int index() const { return idx; }

signals:
    void change(int index);

private:
    int idx;
};
