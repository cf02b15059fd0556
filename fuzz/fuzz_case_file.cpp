// The case-file loader. Invariants: a file that loads saves back to the very
// same bytes and stays within the file's limits, its field name shows in a
// report line without a control character; a file that is refused leaves the
// case exactly as it was.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/PrintableText.h"
#include "case/MorvekDoc.h"
#include "model/CaseFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    morvek::CaseInputs sentinel;
    sentinel.fieldName = "unberührt";
    sentinel.measuredRows = {"1 2 3"};
    sentinel.correlation = 2;
    morvek::CaseInputs record = sentinel;
    if (DecodeCaseFile(bytes, record)) {
        std::string again, problem;
        if (!EncodeCaseFile(record, again, problem) || again != bytes) std::abort();
        if (record.measuredRows.size() > morvek::kMaxMeasuredRows) std::abort();
        if (!FirstControlCharacter(OneLineText(record.fieldName)).empty()) std::abort();
    } else if (!(record == sentinel)) {
        std::abort();
    }

    // The same through the case: all or nothing.
    CMorvekDoc doc;
    doc.OnNewDocument();
    doc.m_Feldname = "vorher";
    const morvek::CaseInputs before = doc.m_Inputs;
    CaseArchive ar = CaseArchive::ForLoading(bytes);
    if (!doc.Serialize(ar) && !(doc.m_Inputs == before)) std::abort();
    return 0;
}
