#pragma once
// The line file loader: one fixed-column line file into the open line database, record by record.
#include <string>
#include <string_view>

namespace velmora::db {
class Appender;
class Database;
}  // namespace velmora::db

namespace ModLine {

class LinkVertexStore;

// Loads one file. True: loaded, or skipped as a file of another data item (logged with code 13).
// False: the job must stop; a message has been shown.
bool SetLineTextToTbl(velmora::db::Database& db, const std::string& path);

// The record readers. Each adds its rows through the appenders the loader opened (a link's points to the
// database's vertex store); the link and line readers read their continuation lines from InFileNo. False
// after the reader's error box.
bool SetLineTextToTbl_Node(std::string_view line, velmora::db::Appender& nodes);
bool SetLineTextToTbl_Link(std::string_view line, velmora::db::Appender& links, LinkVertexStore& vertices);
bool SetLineTextToTbl_Line(std::string_view line, velmora::db::Appender& lines, velmora::db::Appender& references);
bool SetLineTextToTbl_Area(std::string_view line, velmora::db::Appender& ledger);
bool SetLineTextToTbl_LinkD(std::string_view line, velmora::db::Appender& roadLedger);
bool SetLineTextToTbl_NodeD(std::string_view line, velmora::db::Appender& stationLedger);

}  // namespace ModLine
