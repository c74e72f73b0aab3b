#include <gtest/gtest.h>

#include "convert/core/ConversionState.h"
#include "tests/convert/core/TempProgramFolder.h"

using namespace velmora;

namespace {

class ConversionStateTest : public ::testing::Test {
protected:
    std::string path(const char* name) const { return folder_.file(name); }
    static std::string slurp(const std::string& p) { return testsupport::TempProgramFolder::read(p); }
    testsupport::TempProgramFolder folder_;
};

TEST_F(ConversionStateTest, KindsConvertBetweenTheTwoNumberings) {
    struct Case { DataKind data; CatalogKind catalog; int dataNumber; int catalogNumber; };
    const Case cases[] = {
        {DataKind::Point, CatalogKind::Point, 0, 0}, {DataKind::Line, CatalogKind::Line, 1, 1},
        {DataKind::Area, CatalogKind::Area, 2, 2},   {DataKind::Mesh, CatalogKind::Mesh, 3, 4},
        {DataKind::Attr, CatalogKind::Attr, 4, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toCatalogKind(c.data), c.catalog);
        EXPECT_EQ(toDataKind(c.catalog), c.data);
        EXPECT_EQ(number(c.data), c.dataNumber);
        EXPECT_EQ(number(c.catalog), c.catalogNumber);
        EXPECT_EQ(dataKindFromNumber(c.dataNumber), c.data);
        EXPECT_EQ(catalogKindFromNumber(c.catalogNumber), c.catalog);
    }
    EXPECT_FALSE(dataKindFromNumber(5));
    EXPECT_FALSE(catalogKindFromNumber(-1));
    static_assert(!std::is_convertible_v<DataKind, CatalogKind>);
    static_assert(!std::is_convertible_v<CatalogKind, DataKind>);
}

TEST_F(ConversionStateTest, TablesHaveTheirRowsAndItems) {
    ConversionState& s = conversionState();
    EXPECT_EQ(s.PointLayers.size(), 16u);
    EXPECT_EQ(s.LineLayers.size(), 28u);
    EXPECT_EQ(s.PolygonLayers.size(), 13u);
    EXPECT_EQ(s.AttrLayers.size(), 14u);
    EXPECT_EQ(s.MeshLayers.size(), 27u);
    EXPECT_EQ(s.PointLayers[0].ItemName.size(), 601u);
    EXPECT_EQ(s.MeshLayers[0].ItemStart.size(), 257u);
}

TEST_F(ConversionStateTest, LayerNameFollowsTheDataKindAndRefusesRowsOutsideTheTable) {
    ConversionState& s = conversionState();
    s.MeshLayers[26].Name = "mesh26";
    s.AttrLayers[3].Name = "attr3";
    s.PolygonLayers[12].Name = "area12";
    EXPECT_EQ(s.layerName(DataKind::Mesh, 26), "mesh26");
    EXPECT_EQ(s.layerName(DataKind::Attr, 3), "attr3");
    EXPECT_EQ(s.layerName(DataKind::Area, 12), "area12");
    struct Case { DataKind kind; long row; };
    for (Case c : {Case{DataKind::Point, 16}, Case{DataKind::Line, 28}, Case{DataKind::Area, 13},
                   Case{DataKind::Mesh, 27}, Case{DataKind::Attr, 14}, Case{DataKind::Point, -1}}) {
        try {
            s.layerName(c.kind, c.row);
            ADD_FAILURE() << "row " << c.row << " accepted";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), err::SubscriptOutOfRange);
        }
    }
}

TEST_F(ConversionStateTest, WriterSlotOwnsItsFileAndClosesIdempotently) {
    WriterSlot& slot = conversionState().LogFileNo;
    EXPECT_FALSE(slot.isOpen());
    slot.close();  // nothing open: harmless
    try {
        slot.file();
        ADD_FAILURE() << "an empty slot gave a file";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), err::BadFileNameOrNumber);
    }

    slot.open(path("a.log"), text::LineWriter::Mode::Replace).writeLine("one");
    // Opening again closes (and flushes) the first file.
    slot.open(path("b.log"), text::LineWriter::Mode::Replace).writeLine("two");
    EXPECT_EQ(slurp(path("a.log")), "one\r\n");
    slot.close();
    slot.close();
    EXPECT_FALSE(slot.isOpen());
    EXPECT_EQ(slurp(path("b.log")), "two\r\n");
}

TEST_F(ConversionStateTest, AFailedOpenLeavesTheSlotEmpty) {
    WriterSlot& slot = conversionState().FilHFileNo;
    slot.open(path("h.txt"), text::LineWriter::Mode::Replace);
    EXPECT_THROW(slot.open(path("missing/h.txt"), text::LineWriter::Mode::Replace), RunTimeError);
    EXPECT_FALSE(slot.isOpen());
    ReaderSlot& in = conversionState().InFileNo;
    EXPECT_THROW(in.open(path("absent.txt")), RunTimeError);
    EXPECT_FALSE(in.isOpen());
    in.closeQuietly();
}

TEST_F(ConversionStateTest, ResetClosesOpenFilesAndRestoresInitialValues) {
    ConversionState& s = conversionState();
    s.LogFileNo.open(path("log.txt"), text::LineWriter::Mode::Replace).writeLine("kept");
    s.SelectedKind = DataKind::Attr;
    s.DatumCode = 2000;
    s.PointLayers[15].ItemName[600] = "x";
    s.MeshRangeCount = -1;
    s.HelpOpened = true;
    resetConversionState();
    EXPECT_EQ(&s, &conversionState());
    EXPECT_EQ(slurp(path("log.txt")), "kept\r\n");
    EXPECT_FALSE(s.LogFileNo.isOpen());
    EXPECT_EQ(s.SelectedKind, DataKind::Point);
    EXPECT_EQ(s.DatumCode, 0);
    EXPECT_EQ(s.PointLayers[15].ItemName[600], "");
    EXPECT_EQ(s.MeshRangeCount, 0);
    EXPECT_FALSE(s.HelpOpened);
    EXPECT_TRUE(s.AppFolder.empty());
}

TEST_F(ConversionStateTest, ProgramFolderCanBeReplacedAndRestored) {
    EXPECT_EQ(programFolder(), folder_.path().string());
    setProgramFolder(folder_.path().string() + "/");
    EXPECT_EQ(programFolder(), folder_.path().string());
    setProgramFolder("");
    EXPECT_EQ(programFolder(), VELMORA_BINARY_DIR "/tests");
}

}  // namespace
