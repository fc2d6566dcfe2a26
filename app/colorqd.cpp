#include "colorqd.h"

#include "qmycolorbutton.h"

#include "storage/settingsstore.h"

#include "spintax/gui/levelcolors.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

ColorQD::ColorQD(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Color Settings"));
    stored = storage::applicationColors();
    const ColorScheme scheme = ColorScheme::fromMap(stored);

    auto *grid = new QGridLayout;
    for (qsizetype i = 0; i < scheme.rows.size(); ++i) {
        const ColorScheme::Row &row = scheme.rows.at(i);
        auto *lineEdit = new QLineEdit(row.label);
        lineEdit->setReadOnly(true);
        auto *button = new QMyColorButton(int(i), QStringLiteral("Change..."));
        connect(button, &QMyColorButton::change, this, &ColorQD::change);
        grid->addWidget(lineEdit, int(i), 0);
        grid->addWidget(button, int(i), 1);
        rows.append({row.key, QColor(), lineEdit, button});
    }
    showScheme(scheme);

    // "Add Level" is left out: the highlighter colours five levels and repeats the first above
    // them, so an added level could never be seen.
    resetPB = new QPushButton(QStringLiteral("Reset"));
    okPB = new QPushButton(QStringLiteral("Ok"));
    cancelPB = new QPushButton(QStringLiteral("Cancel"));
    connect(resetPB, &QPushButton::clicked, this, &ColorQD::reset);
    connect(okPB, &QPushButton::clicked, this, &ColorQD::ok);
    connect(cancelPB, &QPushButton::clicked, this, &ColorQD::cancel);
    auto *buttons = new QVBoxLayout;
    buttons->setAlignment(Qt::AlignTop);
    buttons->addWidget(resetPB);
    buttons->addWidget(okPB);
    buttons->addWidget(cancelPB);
    buttons->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

QColor ColorQD::getLevelColor(int level) const
{
    return spintax::LevelColors::fromMap(stored).color(level);
}

void ColorQD::setRowColor(int index, const QColor &color)
{
    if (index < 0 || index >= rows.size() || !color.isValid())
        return;
    RowWidgets &row = rows[index];
    row.color = color;
    QPalette palette = row.lineEdit->palette();
    palette.setColor(QPalette::Text, color);
    row.lineEdit->setPalette(palette);
}

QColor ColorQD::rowColor(int index) const
{
    return index >= 0 && index < rows.size() ? rows.at(index).color : QColor();
}

void ColorQD::change(int index)
{
    const QColor current = rowColor(index);
    const QColor chosen = QColorDialog::getColor(current, this);
    if (chosen.isValid() && chosen != current)
        setRowColor(index, chosen);
}

void ColorQD::reset()
{
    // Replacing the whole map is removing the key and writing the defaults in one step.
    stored = storage::defaultApplicationColors();
    storage::saveApplicationColors(stored);
    showScheme(ColorScheme::fromMap(stored));
    emit colorsChanged(stored);
}

void ColorQD::ok()
{
    hide();
    setResult(QDialog::Accepted);
    stored = currentScheme().toMap();
    storage::saveApplicationColors(stored);
    emit colorsChanged(stored);
}

void ColorQD::cancel()
{
    hide();
    setResult(QDialog::Rejected);
    showScheme(ColorScheme::fromMap(stored));
}

// The window's close button and Escape drop unsaved changes, as "Cancel" does.
void ColorQD::reject()
{
    cancel();
}

void ColorQD::showScheme(const ColorScheme &scheme)
{
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const auto match =
            std::find_if(scheme.rows.begin(), scheme.rows.end(),
                         [&](const ColorScheme::Row &r) { return r.key == rows.at(i).key; });
        setRowColor(int(i), match != scheme.rows.end() ? match->color : QColor(Qt::black));
    }
}

ColorScheme ColorQD::currentScheme() const
{
    ColorScheme scheme;
    for (const RowWidgets &shown : rows)
        scheme.rows.append({shown.key, shown.lineEdit->text(), shown.color});
    return scheme;
}
