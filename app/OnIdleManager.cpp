#include "app/OnIdleManager.h"

#include "app/Errors.h"

#include <new>

IMPLEMENT_DYNAMIC(COnIdleConsumer, CObject)
IMPLEMENT_DYNAMIC(COnIdleManager, CObject)

COnIdleConsumer::~COnIdleConsumer()
{
    if (m_manager)
        m_manager->Unregister(this);
}

COnIdleManager::COnIdleManager() {}

COnIdleManager::~COnIdleManager()
{
    while (!m_consumers.IsEmpty()) {
        auto* consumer = static_cast<COnIdleConsumer*>(m_consumers.RemoveHead());
        consumer->m_manager = nullptr;
        delete consumer;
    }
}

int COnIdleManager::OnIdle(long count)
{
    int more = 0;
    for (POSITION pos = m_consumers.GetHeadPosition(); pos;) {
        // Take the next entry first: the consumer may unregister itself.
        auto* consumer = static_cast<COnIdleConsumer*>(m_consumers.GetNext(pos));
        if (consumer->OnIdle(count))
            more = 1;
    }
    return more;
}

int COnIdleManager::Register(COnIdleConsumer* consumer)
{
    if (!consumer || Find(consumer) || consumer->m_manager) {
        BW_INTERNAL_ERROR("OnIdleManager.cpp");
        return 0;
    }
    try {
        m_consumers.AddTail(consumer);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    consumer->m_manager = this;
    return 1;
}

int COnIdleManager::Unregister(COnIdleConsumer* consumer)
{
    POSITION pos = consumer ? Find(consumer) : nullptr;
    if (!pos) {
        BW_INTERNAL_ERROR("OnIdleManager.cpp");
        return 0;
    }
    m_consumers.RemoveAt(pos);
    consumer->m_manager = nullptr;
    return 1;
}

POSITION COnIdleManager::Find(COnIdleConsumer* consumer)
{
    return m_consumers.Find(consumer);
}
