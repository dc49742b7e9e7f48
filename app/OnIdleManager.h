// Idle-time work. Objects that want idle time derive from COnIdleConsumer and register with
// the application's COnIdleManager; the application calls the manager whenever the message
// queue is empty, and keeps calling while some consumer asks for more.
#pragma once

#include "framework/core/Afx.h"

class COnIdleManager;

class COnIdleConsumer : public CObject {
    DECLARE_DYNAMIC(COnIdleConsumer)
public:
    COnIdleConsumer() : m_manager(nullptr) {}
    // A consumer that is destroyed while registered leaves its manager first, so the manager
    // never calls or deletes a dead object.
    ~COnIdleConsumer() override;

    // Nonzero when the consumer wants more idle time.
    virtual int OnIdle(long count) = 0;

    COnIdleManager* GetManager() const { return m_manager; }

private:
    friend class COnIdleManager;
    COnIdleManager* m_manager;
};

class COnIdleManager : public CObject {
    DECLARE_DYNAMIC(COnIdleManager)
public:
    COnIdleManager();
    // Deletes the consumers still registered.
    ~COnIdleManager() override;

    // Calls every consumer, head to tail; 1 when any asked for more idle time. A consumer may
    // unregister itself during its own call.
    virtual int OnIdle(long count);
    virtual int Register(COnIdleConsumer* consumer);
    virtual int Unregister(COnIdleConsumer* consumer);
    virtual POSITION Find(COnIdleConsumer* consumer);

    int GetCount() const { return (int)m_consumers.GetCount(); }

private:
    CPtrList m_consumers;
};
