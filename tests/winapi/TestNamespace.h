#pragma once

#include "ProbeProcess.h"

// A network namespace with veth pairs in known states and with addresses
// from documentation and link-local ranges, for the provider test. It is
// deleted with the object, so a failing test leaves nothing behind.
class TestNamespace
{
public:
    TestNamespace() = default;
    ~TestNamespace();
    TestNamespace(const TestNamespace &) = delete;
    TestNamespace &operator=(const TestNamespace &) = delete;

    // False, with the reason, when namespaces cannot be made here (not
    // root, no `ip netns`). A failure after that is in failure().
    bool create(QString *skipReason);
    QString failure() const { return m_failure; }

    // The rows of a query run inside the namespace.
    QList<ProbeRow> query(const QString &wql, QString *error = nullptr) const;

private:
    static void dropStale();

    QString m_name;
    QString m_failure;
};
