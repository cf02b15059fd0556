#pragma once
// Graph series set by hand, shaped like the results of a depletion run, for
// the tests of the drawing and the exported pictures.

class CMorvekDoc;

// 60 points of a pressure falling from 250 bar and a gas-oil ratio rising
// from 90 sm3/m3 against cumulative oil up to 590 thousand m3, 5 measured
// rows with pressure and gas-oil ratio, the depletion run's labels.
void FillDepletionLikeGraph(CMorvekDoc& doc);
