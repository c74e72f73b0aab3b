// The line file loader, record by record into the line database: the header and counts lines and the
// node, link (with vertex lines), line (with reference lines) and ledger records. The first input byte
// picks the data item (ordinary line, road, railway), the rest is the file.
#include <cstddef>
#include <cstdint>

#include "convert/line/LineDb.h"
#include "convert/line/LineLoader.h"
#include "platform/db/Database.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzJob.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    constexpr int kRows[] = {3, 25, 26};
    fuzz::startJob(velmora::DataKind::Line, kRows[data[0] % 3]);
    const std::string path = fuzz::writeScratch("input.txt", fuzz::asText(data + 1, size - 1));
    if (!ModLine::MakeLineDb()) return 0;
    velmora::db::Database db = velmora::db::Database::open(ModLine::LineDbPath());
    ModLine::SetLineTextToTbl(db, path);
    return 0;
}
