#pragma once
// The plain way to draw a polygon layer, which the map's drawing is measured and checked against: every
// polygon read with shapelib and drawn with one QPainter call, through the painter's transform.
#include "platform/map/Viewport.h"

#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <shapefil.h>

#include <string>
#include <vector>

namespace maptest {

// The first ring of every polygon of the file (the mesh cells have one).
inline std::vector<QPolygonF> readPolygons(const std::string& shpPath) {
    std::vector<QPolygonF> polygons;
    SHPHandle h = SHPOpen(shpPath.c_str(), "rb");
    if (!h) return polygons;
    int count = 0, type = 0;
    SHPGetInfo(h, &count, &type, nullptr, nullptr);
    for (int i = 0; i < count; ++i) {
        SHPObject* o = SHPReadObject(h, i);
        QPolygonF poly;
        const int end = o->nParts > 1 ? o->panPartStart[1] : o->nVertices;
        for (int k = 0; k < end; ++k) poly << QPointF(o->padfX[k], o->padfY[k]);
        polygons.push_back(std::move(poly));
        SHPDestroyObject(o);
    }
    SHPClose(h);
    return polygons;
}

inline void plainDrawing(QImage& image, const std::vector<QPolygonF>& polygons, const velmora::map::Viewport& vp,
                         const QColor& fill, const QColor& outline) {
    image.fill(Qt::white);
    QPainter p(&image);
    p.setTransform(QTransform(vp.scale, 0, 0, -vp.scale, -vp.extent.left * vp.scale, vp.extent.top * vp.scale));
    QPen pen(outline, 1);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.setBrush(fill);
    for (const auto& poly : polygons) p.drawPolygon(poly, Qt::OddEvenFill);
}

}  // namespace maptest
