// Input pin of a filter with one input and several outputs (splitter, tee): what travels
// with the stream besides samples (end of stream, flushes, new segments) goes on to every
// connected output pin.
#pragma once
#include "classes.h"

class CFanOutInputPin : public CBaseInputPin {
public:
    CFanOutInputPin(LPCTSTR objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* phr,
                    LPCWSTR pinName)
        : CBaseInputPin(objectName, filter, lock, phr, pinName)
    {
    }

    STDMETHODIMP EndOfStream() override
    {
        for (int i = 0; i < FanOutCount(); ++i)
            if (FanOut(i)->IsConnected())
                FanOut(i)->DeliverEndOfStream();
        return S_OK;
    }
    STDMETHODIMP BeginFlush() override
    {
        CBaseInputPin::BeginFlush();
        for (int i = 0; i < FanOutCount(); ++i)
            if (FanOut(i)->IsConnected())
                FanOut(i)->DeliverBeginFlush();
        return S_OK;
    }
    STDMETHODIMP EndFlush() override
    {
        for (int i = 0; i < FanOutCount(); ++i)
            if (FanOut(i)->IsConnected())
                FanOut(i)->DeliverEndFlush();
        return CBaseInputPin::EndFlush();
    }
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override
    {
        CBasePin::NewSegment(start, stop, rate);
        for (int i = 0; i < FanOutCount(); ++i)
            if (FanOut(i)->IsConnected())
                FanOut(i)->DeliverNewSegment(start, stop, rate);
        return S_OK;
    }

protected:
    virtual int FanOutCount() = 0;
    virtual CBaseOutputPin* FanOut(int index) = 0;
};
