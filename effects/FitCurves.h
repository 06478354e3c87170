#pragma once

#include <array>
#include <vector>

#include "effects/GGVecLib.h"

// Fits a chain of cubic Bezier segments to a sampled stroke so that every sample lies within a
// tolerance of the chain (least squares along fixed end tangents, Newton reparameterisation,
// splitting at the worst point). Plain functions with no state; all arithmetic in double.

namespace zorbel {

// The most points one fit takes, and the room of every output array, in points (250 segments).
inline constexpr int kFitCurveMaxPoints = 1000;

// Four control points P0, P1, P2, P3.
using BezierCurve = std::array<Point2, 4>;

// Fits points d[0] ... d[n - 1] and appends each segment's four control points to out from
// `index` on (out has room for kFitCurveMaxPoints points). `error` is compared with squared
// distances (square pixels). Returns the index after the last point written. Segments that do
// not fit into out are dropped. Refuses n < 2, n > kFitCurveMaxPoints or null pointers: then
// nothing is written and index is returned.
int FitCurveList2(const Point2* d, int n, double error, int index, Point2* out);

// Fits d[first] ... d[last] (inclusive) between the given unit end tangents, splitting as needed;
// appends to out as FitCurveList2 does and returns the new index.
int FitCubicList2(const Point2* d, int first, int last, Vector2 tHat1, Vector2 tHat2, double error,
                  int index, Point2* out);

// Writes the four points at index ... index + 3 and returns index + 4, when they fit into the
// kFitCurveMaxPoints points of out; otherwise writes nothing and returns index.
int addCurve2(const BezierCurve& curve, int index, Point2* out);

// Cumulative chord lengths of d[first] ... d[last] divided by the total: 0 at the first point,
// 1 at the last. Points that all coincide have no length: then every value is 0.
std::vector<double> ChordLengthParameterize(const Point2* d, int first, int last);

// The least-squares curve through d[first] and d[last] along the two tangents for the
// parameters u (one per point of the range).
BezierCurve GenerateBezier(const Point2* d, int first, int last, const std::vector<double>& u,
                           Vector2 tHat1, Vector2 tHat2);

// One Newton-Raphson step per point towards the parameter of the closest curve point.
std::vector<double> Reparameterize(const Point2* d, int first, int last,
                                   const std::vector<double>& u, const BezierCurve& curve);

// The point at t of the Bezier curve of the given degree (0 ... 3) with control points V.
Point2 BezierII(int degree, const Point2* V, double t);

// The largest squared distance of an interior point from the curve at its parameter; the point
// where it occurs (the later one on ties) goes to *splitPoint.
double ComputeMaxError(const Point2* d, int first, int last, const BezierCurve& curve,
                       const std::vector<double>& u, int* splitPoint);

// Unit tangents: towards the next point, towards the previous point, and the mean of the two
// neighbouring chords pointing backwards.
Vector2 ComputeLeftTangent(const Point2* d, int end);
Vector2 ComputeRightTangent(const Point2* d, int end);
Vector2 ComputeCenterTangent(const Point2* d, int center);

} // namespace zorbel
