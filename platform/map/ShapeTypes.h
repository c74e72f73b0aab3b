#pragma once
// The map's shape types of a layer; every Z and M variant of a shapefile falls onto one of these.
namespace velmora::map::shape {
inline constexpr int Point = 21;
inline constexpr int Line = 22;
inline constexpr int Polygon = 23;
inline constexpr int MultiPoint = 24;
}  // namespace velmora::map::shape
