#include "single_instance.h"

#include "SingleInstance.h"

bool CheckSingleInstance(const std::string& name) {
    static platform::SingleInstanceLock lock;
    // Asking again from the copy that holds it finds it taken, as a named
    // mutex that already exists would be.
    if (lock.Held()) return false;
    return lock.Acquire(name);
}
