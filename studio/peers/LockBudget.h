#pragma once

#include <QTimer>

#include <chrono>

// How long the saves made in one go on a thread that runs an event loop
// (the window's Apply, its Restore Defaults) may wait in all for store
// locks that other processes hold, so that the window answers again
// within that time however many stores are busy. A go ends when control
// is back in the event loop; the next one has the whole time again.
// Outside an event loop (batch runs) nobody waits for the thread's
// answers, and a save may wait as long as it takes.
class LockBudget
{
public:
    explicit LockBudget(std::chrono::milliseconds perGo);
    LockBudget(const LockBudget &) = delete;
    LockBudget &operator=(const LockBudget &) = delete;

    // How long a save may wait now, at most `wanted`.
    std::chrono::milliseconds left(std::chrono::milliseconds wanted) const;
    // Takes `waited` off what is left of this go.
    void spend(std::chrono::milliseconds waited);

private:
    std::chrono::milliseconds m_perGo;
    std::chrono::milliseconds m_left;
    QTimer m_renew; // a zero timer: fires once the event loop runs again
};
