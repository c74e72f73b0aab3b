// The catalogue loader over both catalogue files (the input: DataDBF.csv, a NUL, DataDBFItem.csv), then
// the display names taken from what it loaded.
#include <cstddef>
#include <cstdint>

#include "app/Catalogue.h"
#include "convert/core/ConversionState.h"
#include "platform/ui/ScriptedUi.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static velmora::ui::ScriptedUi ui;
    static const bool installed = (ui.install(), true);
    (void)installed;
    ui.clearRecords();
    const auto parts = fuzz::splitParts(fuzz::asText(data, size), 2);
    fuzz::writeScratch("DataDBF.csv", parts[0]);
    fuzz::writeScratch("DataDBFItem.csv", parts[1]);
    velmora::ConversionState state;
    state.AppFolder = fuzz::scratchFolder();
    if (velmora::catalogue::SetKisoJyoho(state)) velmora::catalogue::SetDataName(state);
    return 0;
}
