#pragma once

#include <QString>

// One running copy per machine: an advisory lock on a file in the temp
// folder. The system drops the lock when the process ends, so a copy that
// crashed does not block the next start.
class SingleInstance {
public:
    explicit SingleInstance(const QString &name);
    ~SingleInstance();
    bool acquired() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};
