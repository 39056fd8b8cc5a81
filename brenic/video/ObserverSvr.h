// The notification hub: panels subscribe for the kinds of change they show and are called
// back synchronously when the video manager (or a clip operation) reports one.
#pragma once
#include <afx.h>
#include <afxcoll.h>

// A subscriber. The four notifications carry nothing: a subscriber reads what it needs from
// the video manager. A subscriber that is destroyed leaves every hub it was in.
class CObserverClient
{
public:
    virtual void OnClipLoaded() {}        // bit 1
    virtual void OnPositionChanged() {}   // bit 2
    virtual void OnVideoStateChanged() {} // bit 4
    virtual void OnUpdate() {}            // bit 8
    virtual ~CObserverClient();
};

class CObserverSvr
{
public:
    enum { CLIP_LOADED = 1, POSITION_CHANGED = 2, VIDEO_STATE_CHANGED = 4, UPDATE = 8 };

    CObserverSvr();
    virtual ~CObserverSvr();

    // Adds the bits to the client's mask (a new client starts with these bits).
    void Subscribe(CObserverClient* client, int bits);
    void SubscribeClipLoaded(CObserverClient* client) { Subscribe(client, CLIP_LOADED); }
    void SubscribePositionChanged(CObserverClient* client) { Subscribe(client, POSITION_CHANGED); }
    void SubscribeVideoStateChanged(CObserverClient* client)
    {
        Subscribe(client, VIDEO_STATE_CHANGED);
    }
    void SubscribeUpdate(CObserverClient* client) { Subscribe(client, UPDATE); }
    // Removes the client; safe inside a notification (it is not called again).
    void Unsubscribe(CObserverClient* client);
    // The client's mask, 0 when it is not subscribed.
    int GetMask(CObserverClient* client) const;
    int GetSubscriberCount() const { return (int)m_clients.GetCount(); }

    // Calls the operation of `bit` on every client whose mask holds it; any other value
    // calls nothing. Clients subscribed during the walk are called from the next one on.
    void Notify(int bit);
    void NotifyClipLoaded() { Notify(CLIP_LOADED); }
    void NotifyPositionChanged() { Notify(POSITION_CHANGED); }
    void NotifyVideoStateChanged() { Notify(VIDEO_STATE_CHANGED); }
    void NotifyUpdate() { Notify(UPDATE); }

    // A client being destroyed leaves every hub that exists.
    static void UnsubscribeEverywhere(CObserverClient* client);

private:
    CMapPtrToPtr m_clients; // CObserverClient* -> mask
};
