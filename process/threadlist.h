#pragma once

#include <QList>
#include <QMutexLocker>
#include <QRecursiveMutex>

// A list of references guarded by a re-entrant lock. It refers to its items
// and never owns them. Walk it through a Locked guard; the owning thread may
// lock it again while holding it. Handlers can change the list during a walk
// (the same thread may take the lock again), so walks go by index and check
// the count at every step.
template <typename T> class TThreadList {
public:
    class Locked {
    public:
        explicit Locked(TThreadList& owner) : FLocker(&owner.FLock), FList(owner.FList) {}
        Locked(const Locked&) = delete;
        Locked& operator=(const Locked&) = delete;
        QList<T*>& operator*() const { return FList; }
        QList<T*>* operator->() const { return &FList; }

    private:
        QMutexLocker<QRecursiveMutex> FLocker;
        QList<T*>& FList;
    };

    // Appends the item unless it is already in the list; true if appended.
    bool Add(T* item) {
        Locked list(*this);
        if (list->contains(item))
            return false;
        list->append(item);
        return true;
    }

    // Removes the item; true if it was in the list.
    bool Remove(T* item) {
        Locked list(*this);
        return list->removeOne(item);
    }

    bool Contains(T* item) {
        Locked list(*this);
        return list->contains(item);
    }

    qsizetype Count() {
        Locked list(*this);
        return list->size();
    }

    // A copy of the references, for readers that must not hold the lock.
    QList<T*> Snapshot() {
        Locked list(*this);
        return *list;
    }

    void Clear() {
        Locked list(*this);
        list->clear();
    }

private:
    QRecursiveMutex FLock;
    QList<T*> FList;
};
