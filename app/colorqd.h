#pragma once

#include "colorscheme.h"

#include <QColor>
#include <QDialog>
#include <QList>
#include <QVariantMap>

class QLineEdit;
class QMyColorButton;
class QPushButton;

// "Color Settings": the colours of the spin-syntax nesting levels and three further entries,
// stored under `applicationColors`. Created once with the main window and shown and hidden;
// "Ok" stores the rows and emits colorsChanged, "Cancel" (or closing the window) drops unsaved
// changes, "Reset" stores the defaults at once.
class ColorQD final : public QDialog
{
    Q_OBJECT

public:
    // Loads `applicationColors`, writing the defaults when the key is absent.
    explicit ColorQD(QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(ColorQD)

    // Colour of nesting `level`: the stored "level N" colour for levels up to 5 (black when
    // there is none, so level 0 and below are black), the "level 1" colour above 5.
    QColor getLevelColor(int level) const;
    // The stored map the dialog was last loaded from or saved to.
    QVariantMap storedColors() const { return stored; }

    // Row `index` shows `color` (what a "Change..." choice does); an invalid colour is ignored.
    void setRowColor(int index, const QColor &color);
    QColor rowColor(int index) const;
    qsizetype rowCount() const { return rows.size(); }

    QPushButton *resetPB = nullptr;
    QPushButton *okPB = nullptr;
    QPushButton *cancelPB = nullptr;

signals:
    // The stored colours changed (after "Ok" or "Reset"); the editors recolour from `colors`.
    void colorsChanged(const QVariantMap &colors);

public slots:
    // Opens the colour chooser on row `index`'s colour.
    void change(int index);
    void reset();
    void ok();
    void cancel();
    void reject() override;

private:
    struct RowWidgets
    {
        QString key;
        QColor color;
        QLineEdit *lineEdit;
        QMyColorButton *button;
    };

    void showScheme(const ColorScheme &scheme);
    ColorScheme currentScheme() const;

    QVariantMap stored;
    QList<RowWidgets> rows;
};
