// The case-file loader. Invariants: a file that loads saves back to the very
// same bytes and stays within the file's limits, its field name shows in a
// report line without a control character; a file that is refused leaves the
// case exactly as it was.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/PrintableText.h"
#include "case/CaseFile.h"
#include "case/MorvekDoc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    CaseFileRecord sentinel;
    sentinel.Feldname = "unberührt";
    sentinel.Messwerte = {"1 2 3"};
    sentinel.Methode = 2;
    CaseFileRecord record = sentinel;
    if (DecodeCaseFile(bytes, record)) {
        std::string again, problem;
        if (!EncodeCaseFile(record, again, problem) || again != bytes) std::abort();
        if (record.Messwerte.size() > kMaxMeasuredRows) std::abort();
        if (!FirstControlCharacter(OneLineText(record.Feldname)).empty()) std::abort();
    } else if (!(record == sentinel)) {
        std::abort();
    }

    // The same through the case: all or nothing.
    CMorvekDoc doc;
    doc.OnNewDocument();
    doc.m_Feldname = "vorher";
    const CaseFileRecord before = doc.ToRecord();
    CaseArchive ar = CaseArchive::ForLoading(bytes);
    if (!doc.Serialize(ar) && !(doc.ToRecord() == before)) std::abort();
    return 0;
}
