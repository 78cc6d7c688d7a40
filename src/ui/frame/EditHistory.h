// Undo and redo of a window's setting data. Whatever one user action does to the grids (a
// typed cell with the rewrites its checks make, an entry dialog, SET, a paste, a whole
// receive or open) becomes one step: the changes are gathered while the action runs and
// pushed once the session is idle again. A step puts back every cell of both grids, the
// actuator type and the modified mark; the mark is clear at the state last saved.
#pragma once

#include "data/ParameterTable.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QUndoStack>

namespace kap {

class Session;

class EditHistory : public QObject {
    Q_OBJECT
public:
    explicit EditHistory(Session& session, QObject* parent = nullptr);
    ~EditHistory() override;

    QUndoStack& stack() { return stack_; }
    // Undo and redo, refused while an operation runs or the table is locked (Operation mode).
    bool canChange() const;
    void undo();
    void redo();
    // The data is now the file's (Save As wrote it).
    void markSaved();
    // New setting data: nothing before it can be undone.
    void reset();

    struct State {
        QList<QStringList> table;
        QList<QStringList> parameters;
        QString tag;
        ParameterTable::TypeState type;
        bool operator==(const State&) const = default;
    };

private:
    friend class EditStep;
    State take() const;
    void restore(const State& state);
    void cellChanged();
    void followCleanState();
    void flush();

    Session& session_;
    QUndoStack stack_;
    State baseline_;
    bool pending_ = false;
    bool restoring_ = false;
};

}  // namespace kap
