// What the multi-line tests share: a label surface with an in-memory record, and a sink that
// records the texts a print job draws.
#pragma once

#include "LayoutTestSupport.h"
#include "TDrawSink.h"
#include "TGDataPanel.h"
#include "TGOwner.h"
#include "TMemoryDataSource.h"
#include "TRecordingReader.h"
#include "TReportFiler.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class TextSpy : public TDrawSink
{
public:
    struct Text {
        double x, y;
        TInchRect clip;
        QString text;
        TFontSpec font;
    };
    std::vector<Text> texts;
    void beginPage(InchSize) override {}
    void setPen(const TPenSpec &) override {}
    void setBrush(const TBrushSpec &) override {}
    void setFont(const TFontSpec &f) override { m_font = f; }
    void setTextOpaque(bool) override {}
    void rectangle(const TInchRect &) override {}
    void roundRect(const TInchRect &, InchSize) override {}
    void ellipse(const TInchRect &) override {}
    void line(InchPoint, InchPoint) override {}
    void text(bool, const TInchRect &clip, InchPoint at, const QString &t) override
    {
        texts.push_back({at.x.value, at.y.value, clip, t, m_font});
    }
    void bitmap(const TInchRect &, const QImage &) override {}
    void graphic(const TInchRect &, const QPicture &) override {}

private:
    TFontSpec m_font;
};

class MultiLineSurface : public ::testing::Test
{
protected:
    void SetUp() override
    {
        freshRegistry({TGSurfaceKind::Label, TGSurfaceKind::Report});
        surface.setSize(600, 400);
        surface.setDataSet(&record);
    }
    template <class T> T *add(int left, int top)
    {
        auto *o = static_cast<T *>(surface.insertObject(std::make_unique<T>(&owner)));
        o->setLeft(left);
        o->setTop(top);
        surface.WireObject(o);
        return o;
    }
    // The surface printed at `origin` (inches) into a recording, played back into a spy.
    TextSpy printed(InchPoint origin = {Inches(0.5), Inches(1.0)})
    {
        QByteArray stream;
        TReportFiler filer;
        filer.setStream(&stream);
        filer.OnPrint = [&](TBaseReport &job) {
            surface.setPrinting(true);
            surface.RefreshData();
            surface.PrintObjects(job, origin);
            surface.setPrinting(false);
        };
        filer.RunJob();
        TextSpy spy;
        TRecordingReader reader;
        EXPECT_TRUE(reader.open(stream).ok());
        reader.replayAll(spy);
        return spy;
    }

    TGOwner owner;
    TMemoryDataSource record;
    TGDataPanel surface{&owner, 96};
};
