// Handle maps of the GDI wrappers: a process-wide map of the objects that own or were
// given a handle (Attach), and per-thread maps of the temporary wrappers FromHandle makes
// for handles nobody attached.
#pragma once

#include <windows.h>
#include <mutex>
#include <unordered_map>
#include <vector>

template <class H, class T>
class CGdiHandleMapT
{
public:
    // Set the handle member of a temporary to NULL before it is deleted, so its destructor
    // leaves the handle alone.
    typedef void (*DetachFn)(T*);
    typedef T* (*MakeFn)(H);

    CGdiHandleMapT(MakeFn make, DetachFn detach) : m_make(make), m_detach(detach) {}

    void SetPermanent(H h, T* p)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_permanent[h] = p;
    }
    void RemovePermanent(H h, T* p)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_permanent.find(h);
        if (it != m_permanent.end() && it->second == p)
            m_permanent.erase(it);
    }
    T* LookupPermanent(H h)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_permanent.find(h);
        return it == m_permanent.end() ? nullptr : it->second;
    }
    T* FromHandle(H h)
    {
        if (h == NULL)
            return nullptr;
        if (T* p = LookupPermanent(h))
            return p;
        std::lock_guard<std::mutex> lock(m_mutex);
        auto& temp = Temp();
        auto it = temp.find(h);
        if (it != temp.end())
            return it->second;
        T* p = m_make(h);
        temp[h] = p;
        return p;
    }
    // A temporary wrapper whose handle was destroyed through it must not be handed out
    // for a new object that happens to get the same handle value.
    void ForgetTemp(H h, T* p)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto& temp = Temp();
        auto it = temp.find(h);
        if (it != temp.end() && it->second == p)
            temp.erase(it);
    }
    void DeleteTemp()
    {
        std::vector<T*> objects;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            auto& temp = Temp();
            for (auto& kv : temp)
                objects.push_back(kv.second);
            m_temp.erase(::GetCurrentThreadId());
        }
        for (T* p : objects) {
            m_detach(p);
            delete p;
        }
    }

private:
    // The calling thread's temporaries (under m_mutex). Keyed by thread id rather than
    // thread_local storage, which Winelib code cannot rely on.
    std::unordered_map<H, T*>& Temp() { return m_temp[::GetCurrentThreadId()]; }

    MakeFn m_make;
    DetachFn m_detach;
    std::mutex m_mutex;
    std::unordered_map<H, T*> m_permanent;
    std::unordered_map<DWORD, std::unordered_map<H, T*>> m_temp;
};

// Further temporary maps (of wrappers defined outside the GDI layer) freed together with the
// GDI ones at the framework's idle time.
void AfxRegisterTempMapCleanup(void (*pfnDeleteTemp)());
