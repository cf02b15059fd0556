#pragma once
// A test fixture: a new case wired to a scripted message sink and a scripted
// data entry, as the window wires it to its message boxes and its dialog.

#include <gtest/gtest.h>

#include "ScriptedDataEntry.h"
#include "ScriptedMessageSink.h"
#include "case/MorvekDoc.h"

class ScriptedCase : public ::testing::Test {
protected:
    ScriptedCase() {
        doc.SetMessageSink(&sink);
        doc.SetDataEntryRunner(&entry);
        doc.OnNewDocument();
    }
    ScriptedMessageSink sink;
    ScriptedDataEntry entry;
    CMorvekDoc doc;
};
