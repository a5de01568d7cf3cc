#include "Source/Interpreter/KeyMacroQueue.h"

#include "Source/Interpreter/MacroInputThread.h"

namespace Quenta::Interpreter {

KeyMacroQueue::KeyMacroQueue(ForegroundProbe probe) : probe_(std::move(probe)) {
    if (!probe_) probe_ = [] { return Arbor::Platform::foregroundService().foregroundWindow(); };
}

KeyMacroQueue::~KeyMacroQueue() { clear(); }

void KeyMacroQueue::clear() {
    // Front first: the playing one is stopped before the others are dropped.
    while (!threads_.empty()) threads_.pop_front();
}

void KeyMacroQueue::checkForeground() {
    const Arbor::Platform::ForegroundWindow now = probe_();
    if (now.window != remembered_.window && now.processId != remembered_.processId) clear();
    remembered_ = now;
}

void KeyMacroQueue::add(KeyMacro macro) {
    checkForeground();
    auto thread = std::make_unique<MacroInputThread>(std::move(macro));
    if (threads_.empty()) thread->play();
    threads_.push_back(std::move(thread));
}

void KeyMacroQueue::step() {
    // With nothing queued the check could cancel nothing, and the next hand-over looks
    // again before it queues: the foreground is not asked every frame for nothing.
    if (threads_.empty()) return;
    checkForeground();
    if (threads_.empty() || !threads_.front()->isFinished()) return;
    threads_.pop_front();
    if (!threads_.empty()) threads_.front()->play();
}

}  // namespace Quenta::Interpreter
