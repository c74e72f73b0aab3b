// The attribute-table loader: the header line, "T" rows cut at the row's byte columns and "DT" ledger
// rows, into the table database.
#include <cstddef>
#include <cstdint>

#include "convert/attr/AttrLoader.h"
#include "platform/db/Database.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzJob.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::startJob(velmora::DataKind::Attr, 3);
    const std::string path = fuzz::writeScratch("input.txt", fuzz::asText(data, size));
    if (!ModAttr::MakeAttrDb()) return 0;
    velmora::db::Database db = velmora::db::Database::open(fuzz::scratchFolder() + ModAttr::kAttrDbName);
    ModAttr::SetAttrTextToTbl(db, path);
    return 0;
}
