#pragma once

#include <QAction>

// An action that carries an index and reports it when triggered (the recent-file entries).
class QMyAction final : public QAction
{
    Q_OBJECT

public:
    QMyAction(int index, QObject *parent);
    int index() const { return idx; }

signals:
    void recentFileQAClicked(int index);

private:
    int idx;
};
