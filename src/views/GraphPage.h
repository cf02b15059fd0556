#pragma once
// What the graph page draws: the series of a run, the title at the top of the
// page, the path in its footer and the kind of result (the PVT table draws a
// third curve where a prediction draws measured points; the table of relative
// permeabilities has no third legend). The page knows no document: the window,
// batch mode and the diagnostic windows hand it the data they want drawn.

#include <string>
#include <vector>

#include "report/CaseRun.h"
#include "report/GraphSeries.h"

class CMorvekDoc;

// A further case's curves over the page's own ("Fälle vergleichen…"): its
// pressure on the left axis and its gas-oil ratio on the right, against the
// same x, in a colour of its own, named in the legend.
struct OverlayCurve {
    std::string name;
    std::vector<float> x, y1, y2;
};

struct GraphPage {
    morvek::GraphSeries graph;
    std::string title;  // the field name's line at the top
    // The end of the title kept whole when the title is too wide for the
    // frame (a diagnostic graph's name after the field name): the text
    // before it is shortened instead. Empty, or not the title's end: the
    // title is shortened at its end.
    std::string titleKept;
    std::string path;   // the footer's "Dokument <path>"
    // A footer of its own instead ("Fälle: …" of a comparison); empty: none.
    std::string footer;
    morvek::ResultKind kind = morvek::ResultKind::Prediction;
    // The measured rows the case holds: the axes take in one measured
    // pressure per row entered (at most a series' length), as they always have.
    int measuredRows = 0;
    // Curves of other cases, drawn over the page's own in their colours.
    std::vector<OverlayCurve> overlays;
};

// The page of the case's last run as the window shows it.
GraphPage GraphPageOf(const CMorvekDoc& doc);

// A page of other series with the case's path in its footer (the diagnostic
// graphs): one marker per measured point.
GraphPage GraphPageOf(const morvek::GraphSeries& graph, const std::string& title,
                      const std::string& path);
