#pragma once
// A lock that the owning thread may enter again (recursive), released by as many
// leaves as enters.
namespace Arbor::Threading {

class ICriticalSection {
public:
    virtual ~ICriticalSection() = default;
    virtual void enter() = 0;
    virtual void leave() = 0;

    ICriticalSection() = default;
    ICriticalSection(const ICriticalSection&) = delete;
    ICriticalSection& operator=(const ICriticalSection&) = delete;
};

// Holds a critical section for one scope.
class CriticalSectionLock {
public:
    explicit CriticalSectionLock(ICriticalSection& section) : section_(section) { section_.enter(); }
    ~CriticalSectionLock() { section_.leave(); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
    ICriticalSection& section_;
};

}  // namespace Arbor::Threading
