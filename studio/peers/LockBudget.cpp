#include "LockBudget.h"

#include <QThread>

#include <algorithm>

namespace {

bool inEventLoop() { return QThread::currentThread()->loopLevel() > 0; }

} // namespace

LockBudget::LockBudget(std::chrono::milliseconds perGo)
    : m_perGo(perGo)
    , m_left(perGo)
{
    m_renew.setSingleShot(true);
    m_renew.setInterval(0);
    QObject::connect(&m_renew, &QTimer::timeout, &m_renew, [this] { m_left = m_perGo; });
}

std::chrono::milliseconds LockBudget::left(std::chrono::milliseconds wanted) const
{
    return inEventLoop() ? std::min(wanted, m_left) : wanted;
}

void LockBudget::spend(std::chrono::milliseconds waited)
{
    if (!inEventLoop())
        return;
    m_left = std::max(m_left - waited, std::chrono::milliseconds(0));
    if (!m_renew.isActive())
        m_renew.start();
}
