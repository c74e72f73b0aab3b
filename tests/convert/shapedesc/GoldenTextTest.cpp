// The description as it stands on disk: CP932, CR LF after every line, the lines of each key.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/core/ConversionState.h"
#include "convert/shapedesc/ShapeDescriptionBaseName.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Cp932.h"
#include "tests/convert/core/TempProgramFolder.h"

using namespace velmora;
using namespace velmora::shapedesc;

namespace {

// The expected file: UTF-8 lines as CP932, each ending with CR LF.
std::string golden(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += text::toCp932(l) + "\r\n";
    return s;
}

class GoldenText : public ::testing::Test {
protected:
    void SetUp() override { openPair(); }
    text::LineWriter& h() { return conversionState().FilHFileNo.file(); }
    text::LineWriter& d() { return conversionState().FilDFileNo.file(); }
    std::string header() { return testsupport::TempProgramFolder::read(headerFilePath()); }
    std::string coordinates() { return testsupport::TempProgramFolder::read(coordinateFilePath()); }
    std::vector<std::string> cp932(std::initializer_list<const char*> utf8) {
        std::vector<std::string> v;
        for (const char* s : utf8) v.push_back(text::toCp932(s));
        return v;
    }
    testsupport::TempProgramFolder folder;
};

TEST_F(GoldenText, MultiPartLineRecord) {
    // A line of three parts with 4, 2 and 5 vertices, no projection file, an empty value between two.
    writeMakeFileName(h(), shapeBaseName("/out/roads.shp"));
    writeShapeType(h(), Kind::MultiPartLine, -1);
    writeFieldCount(h(), 3);
    writeFieldName(h(), text::toCp932("属性番号"), "N", 10);
    writeFieldName(h(), text::toCp932("路線名"), "C", 40);
    writeFieldName(h(), text::toCp932("種別"), "N", 2);
    writeLinkIdx(d(), 17);
    for (int i = 0; i < 11; ++i) writeLinkData(d(), 139.75 + i * 0.25, 35 + i);
    writeLinkNo(h(), 17);
    writeBox(h(), 139.75, 35, 142.25, 45);
    writePartsPoints(h(), 3, 11);
    writePartIdx(h(), "0,4,6");
    writeDbfItem(h(), cp932({"1234", "", "3"}));
    closePair();

    EXPECT_EQ(header(), golden({"MAKEFILE_NAME,/out/roads", "SHAPE_TYPE,4,-1", "DBFITEM_COUNT,3",
                                "DBFITEM_NAME,属性番号,N,10,0", "DBFITEM_NAME,路線名,C,40,0", "DBFITEM_NAME,種別,N,2,0",
                                "LINKNO,17", "BOX,139.75,35,142.25,45", "PARTS_POINTS,3,11", "PARTIDX,0,4,6",
                                "DBFITEM,1234,,3"}));
    EXPECT_EQ(coordinates(),
              golden({"LINKIDX,17", "LINKDATA,139.75,35", "LINKDATA,140,36", "LINKDATA,140.25,37", "LINKDATA,140.5,38",
                      "LINKDATA,140.75,39", "LINKDATA,141,40", "LINKDATA,141.25,41", "LINKDATA,141.5,42",
                      "LINKDATA,141.75,43", "LINKDATA,142,44", "LINKDATA,142.25,45"}));
}

TEST_F(GoldenText, StationOutputAndHeaderWithoutRecords) {
    writeMakeFileName(h(), shapeBaseName("/out/rail.shp") + "_駅名");
    writeShapeType(h(), Kind::Point, 2000);
    writeFieldCount(h(), 2);
    writeFieldName(h(), text::toCp932("属性番号"), "N", 12);
    writeFieldName(h(), text::toCp932("駅名"), "C", 56);
    closePair();
    EXPECT_EQ(header(), golden({"MAKEFILE_NAME,/out/rail_駅名", "SHAPE_TYPE,1,2000", "DBFITEM_COUNT,2",
                                "DBFITEM_NAME,属性番号,N,12,0", "DBFITEM_NAME,駅名,C,56,0"}))
        << "a description without shapes is the header block alone";
    EXPECT_EQ(coordinates(), "");
}

TEST_F(GoldenText, ValuesKeepTheirPlaces) {
    writeDbfItem(h(), cp932({"", "", ""}));
    writeDbfItem(h(), cp932({"a", "", "b"}));
    writeDbfItem(h(), std::vector<std::string_view>{});
    // A comma inside a value would shift the later values into the wrong fields.
    writeDbfItem(h(), cp932({"1,234", "東京,大阪", ","}));
    writeDbfItem(h(), cp932({"ｱ,ｲ"}));
    closePair();
    EXPECT_EQ(header(), golden({"DBFITEM,,,", "DBFITEM,a,,b", "DBFITEM,", "DBFITEM,1，234,東京，大阪,，", "DBFITEM,ｱ，ｲ"}));
}

TEST_F(GoldenText, CoordinatesWithoutTheLocale) {
    writeLinkData(d(), 139.75, 35.0);
    writeLinkData(d(), 0.000028, -1);
    writeLinkData(d(), 139.766084, 35.681382);
    writeLinkData(d(), 135.123456789012345, 0);
    writeLinkData(d(), " 139.5", "\"35.25\"");  // delimited columns pass as they stand
    writeLinkIdx(d(), "000123");
    closePair();
    EXPECT_EQ(coordinates(), golden({"LINKDATA,139.75,35", "LINKDATA,0.000028,-1", "LINKDATA,139.766084,35.681382",
                                     "LINKDATA,135.123456789012,0", "LINKDATA, 139.5,\"35.25\"", "LINKIDX,000123"}));
}

TEST_F(GoldenText, ANameWithoutShiftJisFormIsARunTimeError) {
    // The second name has a CP932 form, but it reads back with "～" in place of "〜": Brunhale would write
    // a file of another name.
    for (const char* base : {"/out/한국", "/out/2006〜2008"}) {
        try {
            writeMakeFileName(h(), base);
            ADD_FAILURE() << base << ": a path that cannot travel through CP932 was written";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), err::BadFileNameOrNumber) << base;
        }
    }
    closePair();
    EXPECT_EQ(header(), "") << "nothing of the line was written";
}

}  // namespace
