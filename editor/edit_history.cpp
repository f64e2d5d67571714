#include "editor/edit_history.h"

#include <utility>

namespace vr58 {

void EditHistory::record(EditStep step) {
    if (step.empty()) return;
    redos.clear();
    undos.push_back(std::move(step));
    if (undos.size() > kDepth) undos.pop_front();
}

const EditStep* EditHistory::undo() {
    if (undos.empty()) return nullptr;
    redos.push_back(std::move(undos.back()));
    undos.pop_back();
    return &redos.back();
}

const EditStep* EditHistory::redo() {
    if (redos.empty()) return nullptr;
    undos.push_back(std::move(redos.back()));
    redos.pop_back();
    return &undos.back();
}

} // namespace vr58
