#include "ObserverSvr.h"
#include <vector>

namespace {
// Every hub alive, so that a destroyed subscriber can leave them all. The program has one
// hub and everything runs on the user-interface thread.
std::vector<CObserverSvr*>& Hubs()
{
    static std::vector<CObserverSvr*>* hubs = new std::vector<CObserverSvr*>;
    return *hubs;
}
} // namespace

CObserverClient::~CObserverClient()
{
    CObserverSvr::UnsubscribeEverywhere(this);
}

CObserverSvr::CObserverSvr() : m_clients(10)
{
    Hubs().push_back(this);
}

CObserverSvr::~CObserverSvr()
{
    std::vector<CObserverSvr*>& hubs = Hubs();
    for (size_t i = 0; i < hubs.size(); ++i)
        if (hubs[i] == this) {
            hubs.erase(hubs.begin() + i);
            break;
        }
}

void CObserverSvr::Subscribe(CObserverClient* client, int bits)
{
    if (!client)
        return;
    void* mask = NULL;
    int current = m_clients.Lookup(client, mask) ? (int)(INT_PTR)mask : 0;
    m_clients.SetAt(client, (void*)(INT_PTR)(current | bits));
}

void CObserverSvr::Unsubscribe(CObserverClient* client)
{
    m_clients.RemoveKey(client);
}

int CObserverSvr::GetMask(CObserverClient* client) const
{
    void* mask = NULL;
    return m_clients.Lookup(client, mask) ? (int)(INT_PTR)mask : 0;
}

void CObserverSvr::Notify(int bit)
{
    if (bit != CLIP_LOADED && bit != POSITION_CHANGED && bit != VIDEO_STATE_CHANGED &&
        bit != UPDATE)
        return;
    // A subscriber may unsubscribe (or be destroyed) or subscribe others while it is called:
    // walk a copy, and call only those still subscribed for the bit.
    std::vector<CObserverClient*> clients;
    POSITION pos = m_clients.GetStartPosition();
    while (pos) {
        void* key;
        void* mask;
        m_clients.GetNextAssoc(pos, key, mask);
        if ((int)(INT_PTR)mask & bit)
            clients.push_back(static_cast<CObserverClient*>(key));
    }
    for (CObserverClient* client : clients) {
        if (!(GetMask(client) & bit))
            continue;
        switch (bit) {
        case CLIP_LOADED: client->OnClipLoaded(); break;
        case POSITION_CHANGED: client->OnPositionChanged(); break;
        case VIDEO_STATE_CHANGED: client->OnVideoStateChanged(); break;
        case UPDATE: client->OnUpdate(); break;
        }
    }
}

void CObserverSvr::UnsubscribeEverywhere(CObserverClient* client)
{
    for (CObserverSvr* hub : Hubs())
        hub->Unsubscribe(client);
}
