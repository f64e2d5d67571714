// The face's undo and redo: each step is one gesture (a drag, a preset, an A/B swap) as the values of the
// parameters it changed before and after. Only the face's own edits are steps; a change the host makes
// ends the redo branch, as a new edit does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace vr58 {

struct ParameterChange {
    int32_t index;
    float before;
    float after;
};

struct EditStep {
    std::vector<ParameterChange> changes;
    // An A/B swap: taking it back or making it again also swaps which setting is shown.
    bool swapsAB = false;
    bool empty() const { return changes.empty() && !swapsAB; }
};

// The user-interface thread only.
class EditHistory {
public:
    static constexpr size_t kDepth = 100;

    // A new step; an empty one is no step. The oldest goes beyond kDepth, and redo is no longer possible.
    void record(EditStep step);
    // The step to take back (its `before` values are to be set) or null; it becomes the next redo.
    const EditStep* undo();
    // The step to make again (its `after` values) or null; it becomes the next undo.
    const EditStep* redo();
    void endRedoBranch() { redos.clear(); }

    size_t undoCount() const { return undos.size(); }
    size_t redoCount() const { return redos.size(); }

private:
    std::deque<EditStep> undos;
    std::deque<EditStep> redos;
};

} // namespace vr58
