#pragma once
// Whether the rings of one output record read back as a valid polygon. A GIS reads a shapefile record's
// clockwise rings as outer rings and its counter-clockwise ones as holes of the smallest outer ring around
// them (a record of one ring is a polygon whichever way it turns), and calls the result invalid when a ring
// touches or crosses itself, two rings cross or share an edge, a hole lies in no outer ring or in another
// hole, an outer ring lies in another outer ring, or rings that touch one another cut a polygon's interior
// in two. Garbled input (a vertex moved far away, a link reference pointing at the wrong link) makes rings
// like that; the makers leave such a polygon out instead of writing a file the user's GIS rejects.
//
// Crossings and touches are decided exactly (ExactOrientation.h); containment with Ring::locate_point at a
// vertex that touches nothing.
#include <string>
#include <vector>

#include "polygon/core/Geometry.h"

namespace ostrand {

enum class PolygonFault {
    none,
    bad_coordinate,  // a coordinate that is not a finite number
    too_few_points,  // a ring of fewer than three distinct points
    crossing,        // a ring touches or crosses itself, or two rings cross or share an edge
    nesting,         // a hole outside every outer ring or inside another hole, or nested outer rings
    disconnected,    // rings touching one another in a cycle: the interior falls apart
};

// The fault of a record made of these rings (closed or open; a repeated closing point is ignored), as the
// writer writes them (simple_rings). Repeated consecutive points count once.
PolygonFault polygon_fault(const std::vector<Ring>& rings);

// The log text of a fault (CP932).
const std::string& polygon_fault_text(PolygonFault fault);

}  // namespace ostrand
