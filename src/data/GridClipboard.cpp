#include "data/GridClipboard.h"

#include "data/Grid.h"

#include <QStringList>

namespace kap::clipboard {

QString copy(const Grid& grid, int top, int left, int bottom, int right)
{
    QStringList lines;
    for (int r = top; r <= bottom; ++r) {
        QStringList cells;
        for (int c = left; c <= right; ++c)
            cells << grid.text(r, c);
        lines << cells.join(u'\t');
    }
    return lines.join(u'\n') + u'\n';
}

int paste(Grid& grid, int row, int column, const QString& text)
{
    QString body = text;
    body.remove(u'\r');
    if (body.endsWith(u'\n'))
        body.chop(1);
    int refused = 0;
    const QStringList lines = body.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList cells = lines.at(i).split(u'\t');
        for (int j = 0; j < cells.size(); ++j) {
            const int r = row + i;
            const int c = column + j;
            if (!grid.contains(r, c) || !grid.isEditable(r, c))
                continue;
            const QString& cell = cells.at(j);
            bool typeable = true;
            for (const QChar ch : cell)
                typeable = typeable && grid.keyPress(r, c, ch);
            if (!typeable || !grid.enter(r, c, cell))
                ++refused;
        }
    }
    return refused;
}

}  // namespace kap::clipboard
