// The bundled case files are exactly what their recipe saves.

#include <gtest/gtest.h>

#include "ExampleCases.h"
#include "case/MorvekDoc.h"
#include "support/ScriptedMessageSink.h"
#include "support/TestSupport.h"

TEST(ExampleFiles, AreWhatTheRecipeSaves) {
    TempDir dir;
    for (const ExampleCase& example : ExampleCases()) {
        CMorvekDoc doc;
        ScriptedMessageSink sink;
        doc.SetMessageSink(&sink);
        example.fill(doc);
        ASSERT_TRUE(doc.OnSaveDocument(dir.File(example.fileName))) << example.fileName;
        EXPECT_EQ(ReadBytes(dir.File(example.fileName)),
                  ReadBytes(SourcePath("examples/" + example.fileName)))
            << example.fileName << ": run build/examples/make_examples examples";
    }
}

TEST(ExampleFiles, SourGasTakesItsSourComponentsFromMethaneOnly) {
    CMorvekDoc nordfeld, sauergas;
    FillNordfeld(nordfeld);
    FillSauergas(sauergas);
    float sum = 0.0f;
    for (float x : sauergas.m_Gas) sum += x;
    EXPECT_NEAR(sum, 100.0f, 1e-4);
    for (int i = 2; i < 15; ++i) {
        if (i == 3) continue;  // methane
        EXPECT_EQ(sauergas.m_Gas[i], nordfeld.m_Gas[i]) << i;
    }
}
