#pragma once
// Helpers of the catchment maker (KsPolygonMakerBasin, declared with the other makers). A catchment's links
// are chained greedily into one sequence of chains (open polylines), which is then reordered, split and
// bridged before it becomes the catchment's one ring.
#include <string>
#include <vector>

#include "polygon/core/KsPolygonMaker.h"

namespace ostrand {

// A chain list: the links of one catchment, each in walking order.
using ChainList = std::vector<Ring>;

// Attribute numbers of link chains split off catchment A are A + kBasinPartOffset (serial kBasinPartSerial);
// a real catchment's number must therefore not exceed the offset.
inline constexpr int kBasinPartOffset = 900000;
inline constexpr int kBasinPartSerial = 9999;
// The mesh code under which every prepared catchment ring is stored in the link map.
inline constexpr const char* kBasinLinkMesh = "xxxxxx";
// A sequence whose ends lie farther apart than this is split at its first gap of that width.
inline constexpr double kBasinWideGap = 0.1;
// Edges longer than this are bridged with a stored link whose ends lie within kBasinBridgeEnds.
inline constexpr double kBasinBridgeEdge = 0.01;
inline constexpr double kBasinBridgeEnds = 1e-4;

// Sum over i >= 1 of the distance from the last point of chain i-1 to the first point of chain i.
double chain_gap_length(const ChainList& chains);

// Moves the last chain one place at a time towards the front, down to index 1, and keeps the arrangement
// with the smallest total gap; on equal totals the one with the last chain further back.
void relocate_last_chain(ChainList& chains);

// First point of [first, last) within kPointTolerance of p or of q, or last.
std::vector<Point>::const_iterator find_near_point(std::vector<Point>::const_iterator first,
                                                   std::vector<Point>::const_iterator last, const Point& p,
                                                   const Point& q);
// The points of [first, last) that lie farther than kPointTolerance from both p and q.
std::vector<Point> remove_near_points(std::vector<Point>::const_iterator first,
                                      std::vector<Point>::const_iterator last, const Point& p, const Point& q);

}  // namespace ostrand
