#pragma once
// One entity's groups gathered before it is stored: each entity type reads
// its group codes from a table of its own (code -> field).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/decoders/dxf_drawing.h"
#include "imaging/decoders/dxf_groups.h"

namespace pictavo::imaging::dxf {

enum class Type {
    Other,
    Line,
    LwPolyline,
    Leader,
    Polyline,
    Vertex,
    Spline,
    Circle,
    Arc,
    Ellipse,
    Text,
    Attrib,
    MText,
    Insert,
    Dimension,
    Point,
    Solid,
    Face
};

Type typeNamed(std::string_view name);

// Everything one entity's groups say, before it is stored.
struct Pending {
    Type type = Type::Other;
    int flags = 0;
    double values[4] = {0, 0, 0, 0};
    double bulge = 0;
    Entity entity;
    // Copied: the file's text goes when the next piece of it is read.
    std::string layer = "0";
    bool paperSpace = false;
    bool invisible = false;
    double extrusionZ = 1;
    std::vector<vector::Point> points;
    std::vector<double> bulges;
    bool hasSecond = false;  // LINE end, TEXT alignment point, ELLIPSE axis
    vector::Point corners[4];
    std::string text;
    std::string blockName;
    double columns = 1, rows = 1, columnSpacing = 0, rowSpacing = 0;
    // Splines.
    int degree = 3;
    int splineFlags = 0;
    std::vector<double> knots;
    std::vector<double> weights;
    std::vector<vector::Point> fitPoints;
    // MTEXT.
    int attachment = 1;
    double boxWidth = 0;
    std::optional<vector::Point> direction;
    double rotationRadians = 0;
};

// Puts what the group says into the entity of p.type; groups it does not
// know leave it as it was.
void collectGroup(Pending& p, const Group& g);

// How many numbers the lists of p hold (points, bulges, knots, weights):
// what its memory grows with.
size_t listedNumbers(const Pending& p);

}  // namespace pictavo::imaging::dxf
