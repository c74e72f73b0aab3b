#pragma once
// The polygon makers. One maker serves one polygon job: the worker creates the maker of the job's data
// item, opens every input file (the readers accumulate into the maps), builds the polygons, saves the
// shapefile and the table, and deletes the maker. Failures are thrown as std::string texts.
//
// The subclasses differ only in the virtual steps of build: the repair of an attribute number with
// failures (repair_polygon) and the work before and after ring building (modify_before, modify_after).
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "polygon/core/DataItems.h"
#include "polygon/core/Geometry.h"
#include "polygon/core/MessageLog.h"
#include "polygon/core/PolygonStats.h"

namespace ostrand {

class AreaLineSource;
class OutputFiles;
class BridgeSearch;
struct FileLinks;

class KsPolygonMaker {
public:
    // mesh_codes: comma-separated secondary-mesh codes (null or empty: no selection). log_lines: the job's
    // list of log lines (null: logging off).
    KsPolygonMaker(LayerRecord layer, const char* mesh_codes, std::vector<std::string>* log_lines);
    virtual ~KsPolygonMaker();
    KsPolygonMaker(const KsPolygonMaker&) = delete;
    KsPolygonMaker& operator=(const KsPolygonMaker&) = delete;

    // Empties every map, the mesh selection and the polygons.
    virtual void clear();
    // Reads one area file into the maps; true when the number of ledger records changed.
    virtual bool open(const std::string& path);
    // Opens the job's files in order. The link records of each file after the first are read meanwhile on
    // other threads (LinkRecords.h), and open takes them from there instead of reading them itself; a file
    // whose links did not read cleanly there is read by open as ever, failing as it would.
    void open_files(const std::vector<std::string>& paths);
    // Turns the maps into polygons, one per kept attribute number (KsPolygonMakerBuild.cpp).
    virtual void build(PolygonStats* stats);
    // The writers do nothing when the maker holds no polygon. The shapefile saved by save_shape is put in
    // place, together with the table, only when save_dbf has written the table.
    virtual void save_shape(const std::string& path);
    virtual void save_dbf(const std::string& path);
    // The selected mesh rectangles as a shapefile with a MESH table.
    virtual void save_mesh(const std::string& path);
    // Record readers: read records of their kind until line_count lines have been read.
    virtual void read_link(AreaLineSource& in, int line_count);
    virtual void read_area(AreaLineSource& in, int line_count);
    virtual void read_attr(AreaLineSource& in, int line_count);
    virtual void modify_before() {}
    // The number of link chains that stay unresolved; the base makes no repair.
    virtual int repair_polygon(int attr_no, AreaPolygon& polygon);
    virtual void modify_after() {}

    // The maker's state, open to its subclasses and to tests that inspect a reading.
    std::map<LinkRef, Ring> links;                                  // open polylines in degrees
    std::map<int, std::vector<std::vector<LinkRef>>> area_links;   // per attribute number, one list per area
    std::map<int, std::vector<int>> area_serials;                  // area serials, parallel to area_links
    std::map<int, std::string> attr_records;                       // ledger text per attribute number
    int last_record_count = 0;
    LayerRecord layer;
    std::vector<Ring> mesh_rects;           // selected secondary meshes, open 4-point rings
    std::vector<std::string> mesh_codes;    // their codes, same order
    std::set<int> selected_attrs;           // attribute numbers whose areas touch a selected mesh
    MessageLog log;
    std::vector<AreaPolygon> polygons;      // results of build, ascending attribute number

protected:
    int data_id() const { return layer.data_id; }
    // Leaves out each polygon whose rings, as the writer writes them, would not read back as a valid
    // polygon (PolygonValidity.h), with its ledger record, logging why and adding its attribute number to
    // refused_attrs, which build takes off its counts (KsPolygonMakerValidity.cpp). Every maker ends its
    // modify_after with it (the repairing makers spare what their repair rebuilt).
    // Given `only`, the records of other attribute numbers are taken as they are.
    void refuse_invalid_polygons(const std::set<int>* only = nullptr);

    std::vector<int> refused_attrs;  // of the current build
    std::set<int> repaired_attrs;    // of the current build: those the stepped repair rebuilt

    std::unique_ptr<OutputFiles> pending_output;  // the shapefile written by save_shape, until save_dbf

    // attr_records[attr_no] = text, the record readers' one way to keep a ledger record.
    void store_attr_record(int attr_no, std::string&& text);

private:
    void take_links(std::map<LinkRef, Ring>& read);
    // build's first step: the links of every area joined into its ring's points (KsPolygonMakerBuild.cpp).
    std::vector<std::vector<Point>> join_area_links() const;
    void select_meshes(const char* mesh_codes);
    void apply_mesh_selection();
    // open's last step: drops the areas without a ledger record and the records without areas.
    void pair_areas_with_ledgers();

    // Attribute numbers the file being read gave areas, or a ledger record, for the first time, and the
    // number both maps held after the last file (the same numbers in each).
    std::vector<int> fresh_areas_, fresh_records_;
    std::size_t paired_count_ = 0;
    std::unique_ptr<FileLinks> links_ahead_;  // the next file's links, read ahead by open_files
};

// Data items 1, 2, 5, 7, 8: every built polygon goes through the polygon cleaner.
class KsPolygonMakerClean : public KsPolygonMaker {
public:
    using KsPolygonMaker::KsPolygonMaker;
    ~KsPolygonMakerClean() override = default;
    // Defined with the cleaner (KsPolygonMakerClean.cpp).
    void modify_after() override;
};

// Data items 0, 6, 9, 10: attribute numbers with failures are rebuilt by joining their links with growing
// tolerances before the clean step.
class KsPolygonMakerRepair : public KsPolygonMakerClean {
public:
    using KsPolygonMakerClean::KsPolygonMakerClean;
    ~KsPolygonMakerRepair() override = default;
    int repair_polygon(int attr_no, AreaPolygon& polygon) override;
};

// Data items 3 and 4: rings oriented by the ledger's designation flag; "other" areas nested into the
// designated areas that contain them.
class KsPolygonMakerRural : public KsPolygonMaker {
public:
    using KsPolygonMaker::KsPolygonMaker;
    ~KsPolygonMakerRural() override = default;
    void modify_after() override;
};

// Data item 20, catchments (KsPolygonMakerBasin.cpp; its helpers in KsPolygonMakerBasin.h). The job makes
// it without mesh codes.
class KsPolygonMakerBasin : public KsPolygonMaker {
public:
    using KsPolygonMaker::KsPolygonMaker;
    ~KsPolygonMakerBasin() override;
    void add_code(const std::string& code);
    void read_attr(AreaLineSource& in, int line_count) override;
    void modify_before() override;
    void modify_after() override;
    void separate(std::vector<Ring>& chains, const std::string& record, std::map<LinkRef, Ring>& new_links,
                  std::map<int, std::vector<std::vector<LinkRef>>>& new_areas);
    void repair_missing_link(Ring& ring);

    std::vector<std::string> basin_codes;

private:
    // The same, with the stored links found through one search made for all catchments.
    void repair_missing_link(Ring& ring, const BridgeSearch& bridges);
};

}  // namespace ostrand
