// Stored drawings of every kind of component built here (shapes with every property group,
// groups, an old model version, text, a metafile picture, an image, ports, symbols joined port
// to port, a link and labels): the seeds of the stored-form fuzz runs.
#pragma once
#include <vector>
#include "ODClosedShapes.h"
#include "ODEditProperties.h"
#include "ODFillProperties.h"
#include "ODFontProperties.h"
#include "ODImageComponent.h"
#include "ODLabelComponent.h"
#include "ODLinkComponent.h"
#include "ODMetafileComponent.h"
#include "ODOrientationProperties.h"
#include "ODPortComponent.h"
#include "ODSymbolComponent.h"
#include "ODTextComponent.h"
#include "od_stream_util.h"
#include "od_test_canvas.h"
#include "od_test_shape.h"

namespace od_corpus {

inline std::vector<BYTE> PatternFill()
{
    Bytes b;
    b.NewClass("CODFillProperties", 1).D(1).D(20).D(1).D(0xFF00).D(0).D(3).D(3).D(2).D(0xFFFFFF);
    b.NewClass("SECDib", 1).W(0x4D42).D(62).W(0).W(0).D(62);
    b.D(40).D(1).D(1).W(1).W(1).D(0).D(0).D(0).D(0).D(2).D(0).D(0).D(0xFFFFFF);
    return b.v;
}

// The corpus: drawings of the classes built here.
inline std::vector<std::vector<BYTE>> Corpus()
{
    std::vector<std::vector<BYTE>> corpus;
    {
        CODModel empty;
        PlainPageSettings(empty);
        corpus.push_back(StoreModel(empty));
    }
    {
        CODModel model;
        PlainPageSettings(model);
        CODFillProperties* fill = NULL;
        Load(PatternFill(), [&](CArchive& ar) { fill = (CODFillProperties*)ar.ReadObject(NULL); });
        CODComponentSet set;
        for (int i = 0; i < 4; ++i) {
            CTestShape* s = new CTestShape(CRect(i * 50, i * 30, i * 50 + 40, i * 30 + 20), TRUE);
            s->SetName(i == 2 ? CString('n', 300) : CString("shape"));
            model.AppendChild(s);
            set.Add(s);
        }
        set[0]->SetOrAddProperty(*fill);
        set[1]->SetOrAddProperty(*fill);
        delete fill;
        set[1]->SetOrAddProperty(CODFontProperties(30));
        set[2]->SetOrAddProperty(CODOrientationProperties(60));
        set[2]->SetOrAddProperty(CODIntProperty(210, 2));
        set[3]->SetOrAddProperty(CODBoolProperty(240, TRUE));
        set[3]->Rotate(300, 10.0f, 10.0f, 1, 1);
        CODComponentSet pair;
        pair.Add(set[1]);
        pair.Add(set[2]);
        CODComponent* group = new CODComponent;
        model.GroupComponents(&pair, group, -1);
        CODComponentSet outer;
        outer.Add(group);
        outer.Add(set[3]);
        model.GroupComponents(&outer, new CODComponent, 0);
        corpus.push_back(StoreModel(model));
    }
    {
        // A drawing of model version 1 with the old page settings.
        Bytes old;
        old.D(1).D(0).Str("").Str("").Rect(0, 0, 1000, 1000).W(0).D(1).D(0).D(1);
        old.NewClass("CODComponent", 1).D(1).D(5).Str("C").Str("C").Rect(1, 1, 9, 9);
        old.NewClass("CODTransform", 0).F(2).F(0).F(0).F(2).F(3).F(4).D(1).D(1);
        old.NewClass("CODLineProperties", 1).D(1).D(10).D(1).D(0xFF).D(0).D(2).D(1).D(0).W(0);
        old.D(1).W(16).W(24).W(32).W(0).D(3).Chars("drv").D(3).Chars("dev").D(3).Chars("out");
        std::vector<BYTE> mode(148, 0);
        old.Raw(mode.data(), mode.size()).D(0).D(0).D(4).D(8500).D(11000).Rect(0, 0, 0, 0).Rect(0, 0, 0, 0);
        old.D(0x808080).W(0);
        corpus.push_back(old.v);
    }
    {
        // The shapes a coach draws: an arrow line, a polyline, a rectangle, an ellipse, a
        // polygon, curves and a rotated text, one of them grouped.
        CODModel model;
        PlainPageSettings(model);
        CPoint pts[7] = {CPoint(0, 0), CPoint(40, 10), CPoint(80, 0), CPoint(120, 30),
                         CPoint(90, 60), CPoint(50, 70), CPoint(10, 40)};
        CODLineComponent* arrow = new CODLineComponent;
        arrow->Create(pts, 2);
        arrow->SetEndEndpoint(new CODArrowEndpoint);
        arrow->SetStartEndpoint(new CODEndpoint);
        model.AppendChild(arrow);
        CODLineComponent* poly = new CODLineComponent;
        poly->Create(pts, 5);
        model.AppendChild(poly);
        CODRectComponent* rect = new CODRectComponent;
        rect->Create(10, 10, 60, 40);
        rect->Rotate(450, 35.0f, 25.0f);
        model.AppendChild(rect);
        CODEllipseComponent* ellipse = new CODEllipseComponent;
        ellipse->Create(CRect(0, 0, 100, 50));
        CODPolygonComponent* polygon = new CODPolygonComponent;
        polygon->Create(pts, 4);
        CODComponentSet pair;
        model.AppendChild(ellipse);
        model.AppendChild(polygon);
        pair.Add(ellipse);
        pair.Add(polygon);
        model.GroupComponents(&pair, new CODComponent, -1);
        CODCurveComponent* curve = new CODCurveComponent;
        curve->Create(pts, 7);
        model.AppendChild(curve);
        CODClosedCurveComponent* closed = new CODClosedCurveComponent;
        closed->Create(pts, 4);
        model.AppendChild(closed);
        CODTextComponent* text = new CODTextComponent;
        text->SetText("Keep the\r\nhead still");
        text->Create(CRect(0, 100, 120, 140), NULL);
        text->SetOrAddProperty(CODBoolProperty(240, TRUE));
        text->Rotate(900, 60.0f, 120.0f);
        model.AppendChild(text);
        // A metafile picture of one rectangle.
        CRect frame(0, 0, 1000, 500);
        HDC dc = CreateEnhMetaFileA(NULL, NULL, &frame, NULL);
        Rectangle(dc, 0, 0, 30, 20);
        HENHMETAFILE emf = CloseEnhMetaFile(dc);
        CString path = SaveTestMetafile(emf);
        DeleteEnhMetaFile(emf);
        CODMetafileComponent* picture = new CODMetafileComponent;
        picture->Create(CRect(200, 0, 260, 30));
        picture->LoadFile(path);
        DeleteFileA(path);
        model.AppendChild(picture);
        // A 2 x 2 bitmap image drawn with a transparent colour.
        CBitmap bitmap;
        DWORD pixels[4] = {0xFF00FF, 0x00FF00, 0x0000FF, 0xFFFFFF};
        bitmap.CreateBitmap(2, 2, 1, 32, pixels);
        CODImageComponent* image = new CODImageComponent;
        image->CreateFromBitmap(&bitmap, TRUE, RGB(255, 0, 255));
        image->OffsetVertices(300, 0);
        model.AppendChild(image);
        CODCirclePort* port = new CODCirclePort;
        port->Create(CPoint(320, 40), 3);
        model.AppendChild(port);
        // Two symbols joined port to port.
        CODSymbolComponent* symbols[2];
        for (int i = 0; i < 2; ++i) {
            symbols[i] = new CODSymbolComponent;
            symbols[i]->Create();
            CODRectComponent* body = new CODRectComponent;
            body->Create(400 + 60 * i, 0, 440 + 60 * i, 30);
            symbols[i]->AppendChild(body);
            CODCirclePort* end = new CODCirclePort;
            end->Create(CPoint(i ? 460 : 440, 15), 3);
            symbols[i]->AddPort(end);
            symbols[i]->UpdateRegion(FALSE);
            model.AppendChild(symbols[i]);
        }
        symbols[0]->Connect(symbols[0]->GetPort(0), symbols[1]->GetPort(0));
        // A link from the first symbol's centre to the second one's port.
        CODLinkComponent* link = new CODLinkComponent;
        link->Create(symbols[0]->GetCenterPort(), symbols[1]->GetPort(0));
        model.AppendChild(link);
        // A label on the first symbol and one along the link.
        symbols[0]->AddLabel(_T("Hip"), symbols[0], NULL)->SetOrientation(5);
        CODLabelComponent* along = link->AddLabel(_T("Path"), link, NULL);
        CODOrientationProperties placement(260);
        placement.SetPosition(50);
        along->SetOrAddProperty(placement);
        corpus.push_back(StoreModel(model));
    }
    return corpus;
}

}  // namespace od_corpus
