#pragma once
// Graph series set by hand, shaped like the results of a depletion run, for
// the tests of the drawing and the exported pictures.

#include "case/MorvekDoc.h"
#include "views/Grafik.h"
#include "views/GraphPage.h"

// 60 points of a pressure falling from 250 bar and a gas-oil ratio rising
// from 90 sm3/m3 against cumulative oil up to 590 thousand m3, 5 measured
// rows with pressure and gas-oil ratio, the depletion run's labels.
void FillDepletionLikeGraph(CMorvekDoc& doc);

// The graph page of a case, handed over as the main window hands it: when the
// case asks for its graph to be drawn anew (m_bGrafikNeu), and before every
// computation a test starts itself.
class CaseGraph : public CGrafik {
public:
    explicit CaseGraph(CMorvekDoc& doc) : m_Case(doc) {}
    void Follow() {
        if (m_Case.m_bGrafikNeu == 1) Take();
    }
    void Take() {
        SetPage(GraphPageOf(m_Case));
        m_Case.m_bGrafikNeu = 0;
    }
    void OnDraw(Surface& dc) {
        Follow();
        CGrafik::OnDraw(dc);
    }
    void OnCompute() {
        Take();
        CGrafik::OnCompute();
    }
    void OnGraf() {
        Take();
        CGrafik::OnGraf();
    }
    void extreme() {
        Take();
        CGrafik::extreme();
    }
    void OnGrafiklupe() {
        Take();
        CGrafik::OnGrafiklupe();
    }

private:
    CMorvekDoc& m_Case;
};
