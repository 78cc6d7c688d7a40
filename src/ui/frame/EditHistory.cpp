#include "ui/frame/EditHistory.h"

#include "data/Grid.h"
#include "data/TableHost.h"
#include "session/Session.h"

#include <QTimer>

namespace kap {

// One step: the states before and after it. The first redo() is the action itself, which
// has already happened.
class EditStep : public QUndoCommand {
public:
    EditStep(EditHistory& history, EditHistory::State before, EditHistory::State after)
        : history_(history), before_(std::move(before)), after_(std::move(after))
    {
    }
    void undo() override { history_.restore(before_); }
    void redo() override
    {
        if (std::exchange(first_, false))
            return;
        history_.restore(after_);
    }

private:
    EditHistory& history_;
    EditHistory::State before_;
    EditHistory::State after_;
    bool first_ = true;
};

EditHistory::EditHistory(Session& session, QObject* parent)
    : QObject(parent), session_(session), baseline_(take())
{
    connect(&session_.tableGrid(), &Grid::cellChanged, this, &EditHistory::cellChanged);
    connect(&session_.parameterGrid(), &Grid::cellChanged, this, &EditHistory::cellChanged);
    // An operation gathers its changes until it ends.
    connect(&session_.operations(), &OperationTracker::changed, this, [this] {
        if (pending_)
            flush();
    });
    connect(&stack_, &QUndoStack::indexChanged, this, [this] { baseline_ = take(); });
    stack_.setClean();
}

EditHistory::~EditHistory()
{
    // The stack empties itself as it goes and says so; by then the rest of this is gone.
    disconnect(&stack_, nullptr, this, nullptr);
}

EditHistory::State EditHistory::take() const
{
    return {session_.tableGrid().cells(), session_.parameterGrid().cells(),
            session_.tableGrid().tag(), session_.parameters().typeState()};
}

void EditHistory::restore(const State& state)
{
    restoring_ = true;
    // Putting the grids back is no edit: no change handling, no checks.
    const bool settingUp = std::exchange(session_.guards().settingUp, true);
    session_.tableGrid().setCells(state.table);
    session_.parameterGrid().setCells(state.parameters);
    session_.tableGrid().setTag(state.tag);
    session_.parameters().restoreTypeState(state.type);
    session_.guards().settingUp = settingUp;
    restoring_ = false;
    session_.refreshQuickBoxes();
}

bool EditHistory::canChange() const
{
    return session_.operations().idle() && !session_.tableGrid().isReadOnly();
}

void EditHistory::undo()
{
    if (!canChange())
        return;
    stack_.undo();
    followCleanState();
}

void EditHistory::redo()
{
    if (!canChange())
        return;
    stack_.redo();
    followCleanState();
}

void EditHistory::followCleanState()
{
    // Back at the state last saved the data is the file's; anywhere else it differs from it.
    if (stack_.isClean())
        clearModifiedMark(session_.tableGrid());
    else
        setModifiedMark(session_.tableGrid());
    baseline_ = take();
}

void EditHistory::markSaved()
{
    flush();
    baseline_ = take();
    stack_.setClean();
}

void EditHistory::reset()
{
    pending_ = false;
    stack_.clear();
    baseline_ = take();
    stack_.setClean();
}

void EditHistory::cellChanged()
{
    if (restoring_ || pending_)
        return;
    pending_ = true;
    // The checks rewrite cells in the same call; the step is complete once control is back
    // in the event loop, or, inside an operation, once it has ended.
    QTimer::singleShot(0, this, [this] {
        if (session_.operations().idle())
            flush();
    });
}

void EditHistory::flush()
{
    if (!pending_)
        return;
    pending_ = false;
    State now = take();
    if (now == baseline_)
        return;
    State before = std::exchange(baseline_, now);
    stack_.push(new EditStep(*this, std::move(before), std::move(now)));
}

}  // namespace kap
