// Every method of the editing interfaces answering E_NOTIMPL: the layer's editing classes
// derive from these and implement the calls the program makes.
#pragma once
#include "editing.h"

struct AMTimelineBase : public IAMTimeline {
    HRESULT STDMETHODCALLTYPE CreateEmptyNode(IAMTimelineObj **obj, TIMELINE_MAJOR_TYPE type) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddGroup(IAMTimelineObj *group) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemGroupFromList(IAMTimelineObj *group) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGroup(IAMTimelineObj **group, LONG index) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGroupCount(LONG *count) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearAllGroups() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetInsertMode(LONG *mode) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetInsertMode(LONG mode) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnableTransitions(BOOL enabled) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TransitionsEnabled(BOOL *enabled) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnableEffects(BOOL enabled) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EffectsEnabled(BOOL *enabled) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetInterestRange(REFERENCE_TIME start, REFERENCE_TIME stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDuration(REFERENCE_TIME *duration) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDuration2(double *duration) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultFPS(double fps) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDefaultFPS(double *fps) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsDirty(BOOL *dirty) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDirtyRange(REFERENCE_TIME *start, REFERENCE_TIME *stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCountOfType(LONG group, LONG *value, LONG *value_with_comps, TIMELINE_MAJOR_TYPE type) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ValidateSourceNames(LONG flags, IMediaLocator *override, LONG_PTR notify_event) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultTransition(GUID *guid) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDefaultTransition(GUID *guid) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultEffect(GUID *guid) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDefaultEffect(GUID *guid) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultTransitionB(BSTR guidb) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDefaultTransitionB(BSTR *guidb) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultEffectB(BSTR guidb) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDefaultEffectB(BSTR *guidb) override { return E_NOTIMPL; }
};

struct AMTimelineObjBase : public IAMTimelineObj {
    HRESULT STDMETHODCALLTYPE GetStartStop(REFERENCE_TIME *start, REFERENCE_TIME *stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStartStop2(REFTIME *start, REFTIME *stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FixTimes(REFERENCE_TIME *start, REFERENCE_TIME *stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FixTimes2(REFTIME *start, REFTIME *stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStartStop(REFERENCE_TIME start, REFERENCE_TIME stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStartStop2(REFTIME start, REFTIME stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPropertySetter(IPropertySetter **setter) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPropertySetter(IPropertySetter *setter) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSubObject(IUnknown **obj) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSubObject(IUnknown *obj) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSubObjectGUID(GUID guid) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSubObjectGUIDB(BSTR guidb) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSubObjectGUID(GUID *guid) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSubObjectGUIDB(BSTR *guidb) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSubObjectLoaded(BOOL *loaded) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTimelineType(TIMELINE_MAJOR_TYPE *type) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTimelineType(TIMELINE_MAJOR_TYPE type) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUserID(LONG *id) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetUserID(LONG id) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGenID(LONG *id) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUserName(BSTR *name) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetUserName(BSTR name) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUserData(BYTE *data, LONG *size) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetUserData(BYTE *data, LONG size) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMuted(BOOL *muted) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMuted(BOOL muted) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLocked(BOOL *locked) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetLocked(BOOL locked) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDirtyRange(REFERENCE_TIME *start, REFERENCE_TIME *stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDirtyRange2(REFTIME *start, REFTIME *stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDirtyRange(REFERENCE_TIME start, REFERENCE_TIME stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDirtyRange2(REFTIME start, REFTIME stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearDirty() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Remove() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveAll() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTimelineNoRef(IAMTimeline **timeline) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGroupIBelongTo(IAMTimelineGroup **group) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetEmbedDepth(LONG *depth) override { return E_NOTIMPL; }
};

struct AMTimelineGroupBase : public IAMTimelineGroup {
    HRESULT STDMETHODCALLTYPE SetTimeline(IAMTimeline *timeline) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTimeline(IAMTimeline **timeline) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG *priority) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMediaType(AM_MEDIA_TYPE *a) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMediaType(AM_MEDIA_TYPE *a) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOutputFPS(double fps) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetOutputFPS(double *fps) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetGroupName(BSTR name) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGroupName(BSTR *name) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPreviewMode(BOOL preview) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPreviewMode(BOOL *preview) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMediaTypeForVB(LONG type) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetOutputBuffering(int *buffer) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOutputBuffering(int buffer) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSmartRecompressFormat(LONG *format) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSmartRecompressFormat(LONG **format) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsSmartRecompressFormatSet(BOOL *set) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsRecompressFormatDirty(BOOL *dirty) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearRecompressFormatDirty() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRecompFormatFromSource(IAMTimelineSrc *source) override { return E_NOTIMPL; }
};

struct AMTimelineSrcBase : public IAMTimelineSrc {
    HRESULT STDMETHODCALLTYPE GetMediaTimes(REFERENCE_TIME *start, REFERENCE_TIME *stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMediaTimes2(REFTIME *start, REFTIME *stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ModifyStopTime(REFERENCE_TIME stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ModifyStopTime2(REFTIME stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FixMediaTimes(REFERENCE_TIME *start, REFERENCE_TIME *stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FixMediaTimes2(REFTIME *start, REFTIME *stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMediaTimes(REFERENCE_TIME Start, REFERENCE_TIME Stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMediaTimes2(REFTIME Start, REFTIME Stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMediaLength(REFERENCE_TIME length) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMediaLength2(REFTIME length) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMediaLength(REFERENCE_TIME *length) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMediaLength2(REFTIME *length) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMediaName(BSTR *name) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMediaName(BSTR name) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SpliceWithNext(IAMTimelineObj *next) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStreamNumber(LONG *num) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStreamNumber(LONG num) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsNormalRate(BOOL *normal) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDefaultFPS(double *fps) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultFPS(double fps) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStretchMode(int *mode) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStretchMode(int mode) override { return E_NOTIMPL; }
};

struct MediaDetBase : public IMediaDet {
    HRESULT STDMETHODCALLTYPE get_Filter(IUnknown **pVal) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Filter(IUnknown *newVal) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_OutputStreams(LONG *pVal) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CurrentStream(LONG *pVal) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_CurrentStream(LONG newVal) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_StreamType(GUID *pVal) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_StreamTypeB(BSTR *pVal) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_StreamLength(double *pVal) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Filename(BSTR *pVal) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Filename(BSTR newVal) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBitmapBits(double StreamTime, LONG *pBufferSize, char *pBuffer, LONG Width, LONG Height) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WriteBitmapBits(double StreamTime, LONG Width, LONG Height, BSTR Filename) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_StreamMediaType(AM_MEDIA_TYPE *pVal) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSampleGrabber(ISampleGrabber **ppVal) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_FrameRate(double *pVal) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnterBitmapGrabMode(double SeekTime) override { return E_NOTIMPL; }
};

struct AMTimelineCompBase : public IAMTimelineComp {
    HRESULT STDMETHODCALLTYPE VTrackInsBefore(IAMTimelineObj *virtual_track, LONG priority) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE VTrackSwapPriorities(LONG priority_a, LONG priority_b) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE VTrackGetCount(LONG *count) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVTrack(IAMTimelineObj **virtual_track, LONG which) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCountOfType(LONG *value, LONG *value_with_comps, TIMELINE_MAJOR_TYPE type) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRecursiveLayerOfType(IAMTimelineObj **object, LONG which, TIMELINE_MAJOR_TYPE type) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRecursiveLayerOfTypeI(IAMTimelineObj **object, LONG *which, TIMELINE_MAJOR_TYPE type) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNextVTrack(IAMTimelineObj *virtual_track, IAMTimelineObj **next) override { return E_NOTIMPL; }
};

struct AMTimelineTrackBase : public IAMTimelineTrack {
    HRESULT STDMETHODCALLTYPE SrcAdd(IAMTimelineObj *source) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNextSrc(IAMTimelineObj **source, REFERENCE_TIME *time) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNextSrc2(IAMTimelineObj **source, REFTIME *time) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MoveEverythingBy(REFERENCE_TIME start, REFERENCE_TIME delta) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MoveEverythingBy2(REFTIME start, REFTIME delta) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSourcesCount(LONG *count) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AreYouBlank(LONG *blank) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSrcAtTime(IAMTimelineObj **source, REFERENCE_TIME time, LONG direction) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSrcAtTime2(IAMTimelineObj **source, REFTIME time, LONG direction) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InsertSpace(REFERENCE_TIME start, REFERENCE_TIME stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InsertSpace2(REFTIME start, REFTIME stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ZeroBetween(REFERENCE_TIME start, REFERENCE_TIME stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ZeroBetween2(REFTIME start, REFTIME stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNextSrcEx(IAMTimelineObj *last, IAMTimelineObj **next) override { return E_NOTIMPL; }
};

struct RenderEngineBase : public IRenderEngine {
    HRESULT STDMETHODCALLTYPE SetTimelineObject(IAMTimeline *timeline) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTimelineObject(IAMTimeline **timeline) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFilterGraph(IGraphBuilder **graph) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetFilterGraph(IGraphBuilder *graph) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetInterestRange(REFERENCE_TIME start, REFERENCE_TIME stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetInterestRange2(double start, double stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRenderRange(REFERENCE_TIME start, REFERENCE_TIME stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRenderRange2(double start, double stop) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGroupOutputPin(LONG group, IPin **pin) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ScrapIt() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RenderOutputPins() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVendorString(BSTR *vendor) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ConnectFrontEnd() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSourceConnectCallback(IUnknown *callback) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDynamicReconnectLevel(LONG level) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DoSmartRecompression() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UseInSmartRecompressionGraph() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSourceNameValidation(BSTR filter, IMediaLocator *override, LONG flags) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Commit() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Decommit() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCaps(LONG index, LONG *value) override { return E_NOTIMPL; }
};

