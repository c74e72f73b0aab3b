// The attribute-table window's reader of a dBASE table (the table model of the viewer): the header checks
// when the file is opened, then every header and every cell of the first rows as a view asks for them
// (display text and alignment). RunTimeError is the model's refusal of a file that is no table.
#include <cstddef>
#include <cstdint>

#include "platform/errors/RunTimeError.h"
#include "tests/fuzz/FuzzInput.h"
#include "viewer/DbaseTableModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::writeScratch("table.dbf", fuzz::asText(data, size));
    try {
        velmora::viewer::DbaseTableModel model(path);
        for (int c = 0; c < model.columnCount(); ++c) model.headerData(c, Qt::Horizontal, Qt::DisplayRole);
        // A view asks for the rows on screen; the checks hold for any row, so a few hundred show them.
        for (int r = 0; r < std::min(model.rowCount(), 300); ++r) {
            model.headerData(r, Qt::Vertical, Qt::DisplayRole);
            for (int c = 0; c < model.columnCount(); ++c) {
                model.data(model.index(r, c), Qt::DisplayRole);
                model.data(model.index(r, c), Qt::TextAlignmentRole);
            }
        }
        model.data(model.index(model.rowCount() - 1, 0), Qt::DisplayRole);
    } catch (const velmora::RunTimeError&) {
    }
    return 0;
}
