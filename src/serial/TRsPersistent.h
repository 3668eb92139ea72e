#pragma once

#include <QScopeGuard>
#include <functional>

// Base of the property groups of the serial-port component. A change calls OnChange, through
// which the owning port applies or refuses it. A refused or failed change (OnChange throws)
// leaves the group as it was.
class TRsPersistent {
public:
    TRsPersistent() = default;
    // A copy is a detached set of values: it does not notify the original's owner.
    TRsPersistent(const TRsPersistent&) {}
    TRsPersistent& operator=(const TRsPersistent&) = delete;
    virtual ~TRsPersistent() = default;

    std::function<void()> OnChange;

protected:
    void Changed() {
        if (OnChange)
            OnChange();
    }

    // Stores a value and notifies; alwaysNotify false notifies only a real change.
    template <typename T> void Store(T& field, T value, bool alwaysNotify) {
        if (!alwaysNotify && field == value)
            return;
        const T old = field;
        field = value;
        auto restore = qScopeGuard([&] { field = old; });
        Changed();
        restore.dismiss();
    }

    // Replaces all fields with those of `from` and notifies once.
    template <typename Group> void AssignAll(Group& self, const Group& from) {
        const Group old(self);
        self.CopyFields(from);
        auto restore = qScopeGuard([&] { self.CopyFields(old); });
        Changed();
        restore.dismiss();
    }
};
