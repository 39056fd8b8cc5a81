// An enhanced-metafile picture played into its box.
#pragma once
#include "ODPointComponent.h"

class CODMeasure;
class CODCoordinateMapping;

class CODMetafileComponent : public CODPointComponent
{
    DECLARE_SERIAL(CODMetafileComponent)

public:
    CODMetafileComponent() : m_hMetafile(NULL) {}
    CODMetafileComponent(const CODMetafileComponent& other);
    ~CODMetafileComponent() override;

    void Serialize(CArchive& ar) override;
    CODComponent* Clone() const override { return new CODMetafileComponent(*this); }
    void OnDraw(CDC* dc) override;
    int OffsetVertex(int i, int dx, int dy) override;

    BOOL Create(const CRect& r);
    BOOL LoadFile(LPCTSTR path);
    BOOL LoadFromResource(LPCTSTR name, HINSTANCE instance);
    BOOL LoadFromResource(LPCTSTR name);
    BOOL GetFrameSize(CODMeasure& width, CODMeasure& height);
    BOOL SizeToFrame(CODCoordinateMapping* mapping);
    int GetDescription(CString& description);
    BOOL DeleteMetafile();
    UINT GetHeader(ENHMETAHEADER* header, UINT size);
    HENHMETAFILE GetMetafile() const { return m_hMetafile; }

    // TRUE when bytes are a whole enhanced metafile: a header record that counts exactly
    // these bytes, records that stay inside them, and the end-of-file record last.
    static BOOL IsSoundMetafile(const BYTE* bytes, size_t size);

private:
    HENHMETAFILE m_hMetafile;
};
