// The case-file loader. Invariants: a file that loads saves back to the very
// same bytes and stays within the file's limits, its field name shows in a
// report line without a control character; a file that is refused leaves the
// case exactly as it was. The input is tried as a whole file and, so that the
// fuzzer reaches the items of the optional block behind its CRC, as the items
// of a block with a correct CRC after a valid record.
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/PrintableText.h"
#include "case/MorvekDoc.h"
#include "model/CaseFile.h"
#include "model/CaseFileBlock.h"

namespace {

void CheckLoad(const std::string& bytes) {
    morvek::CaseInputs sentinel;
    sentinel.fieldName = "unberührt";
    sentinel.measuredRows = {"1 2 3"};
    sentinel.correlation = 2;
    sentinel.relPermTable = morvek::LabRelPermTable{"vorher", {{0, 0, 1}, {0.5f, 0.5f, 0}}};
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
}

void Append16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void Append32(std::string& out, uint32_t v) {
    Append16(out, v & 0xFFFF);
    Append16(out, v >> 16);
}

std::string RecordWithBlockAround(const std::string& items) {
    std::string bytes, problem;
    EncodeCaseFile(morvek::CaseInputs{}, bytes, problem);
    std::string block(morvek::kCaseFileBlockTag, sizeof(morvek::kCaseFileBlockTag));
    Append16(block, morvek::kCaseFileBlockVersion);
    Append32(block, static_cast<uint32_t>(items.size()));
    block += items;
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(block.data()),
                            static_cast<uInt>(block.size()));
    Append32(block, static_cast<uint32_t>(crc));
    return bytes + block;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckLoad(bytes);
    CheckLoad(RecordWithBlockAround(bytes));
    return 0;
}
