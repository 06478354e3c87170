#include "effects/FitCurves.h"

#include <cstddef>

namespace zorbel {

namespace {

constexpr int kMaxIterations = 4;

Vector2 subtract(const Point2& a, const Point2& b) {
    return {a.x - b.x, a.y - b.y};
}

Vector2 scaled(const Point2& v, double s) {
    return {v.x * s, v.y * s};
}

// The Bernstein weights, each associated exactly so: the last bits of the fit depend on it.
double B0(double s) {
    double t = 1.0 - s;
    return t * (t * t);
}
double B1(double s) {
    double t = 1.0 - s;
    return (t * t) * (s * 3.0);
}
double B2(double s) {
    return ((s * 3.0) * s) * (1.0 - s);
}
double B3(double s) {
    return (s * s) * s;
}

// The curve with its inner control points `length` along each tangent from its end points.
BezierCurve curveAlongTangents(const Point2& p0, const Point2& p3, Vector2 tHat1, Vector2 tHat2,
                               double length1, double length2) {
    BezierCurve curve;
    curve[0] = p0;
    curve[3] = p3;
    V2Add(&curve[0], V2Scale(&tHat1, length1), &curve[1]);
    V2Add(&curve[3], V2Scale(&tHat2, length2), &curve[2]);
    return curve;
}

} // namespace

int addCurve2(const BezierCurve& curve, int index, Point2* out) {
    if (out == nullptr || index < 0 || index > kFitCurveMaxPoints - 4)
        return index;
    for (std::size_t i = 0; i < 4; ++i)
        out[std::size_t(index) + i] = curve[i];
    return index + 4;
}

int FitCurveList2(const Point2* d, int n, double error, int index, Point2* out) {
    if (d == nullptr || out == nullptr || n < 2 || n > kFitCurveMaxPoints)
        return index;
    Vector2 tHat1 = ComputeLeftTangent(d, 0);
    Vector2 tHat2 = ComputeRightTangent(d, n - 1);
    return FitCubicList2(d, 0, n - 1, tHat1, tHat2, error, index, out);
}

int FitCubicList2(const Point2* d, int first, int last, Vector2 tHat1, Vector2 tHat2, double error,
                  int index, Point2* out) {
    if (d == nullptr || out == nullptr || first < 0 || last <= first ||
        last - first >= kFitCurveMaxPoints)
        return index;
    // Once the output is full nothing more can be stored: the fit of the rest changes nothing.
    if (index > kFitCurveMaxPoints - 4)
        return index;
    const double iterationError = error * error;

    if (last - first == 1) {
        double dist = V2DistanceBetween2Points(&d[last], &d[first]) / 3.0;
        return addCurve2(curveAlongTangents(d[first], d[last], tHat1, tHat2, dist, dist), index,
                         out);
    }

    std::vector<double> u = ChordLengthParameterize(d, first, last);
    if (u.back() == 0.0) {
        // Every point of the range is the same point: a curve that stays there.
        return addCurve2({d[first], d[first], d[first], d[first]}, index, out);
    }
    BezierCurve curve = GenerateBezier(d, first, last, u, tHat1, tHat2);
    int splitPoint = 0;
    double maxError = ComputeMaxError(d, first, last, curve, u, &splitPoint);
    if (maxError < error)
        return addCurve2(curve, index, out);

    // Close enough that a better parameterisation may be all it takes.
    if (maxError < iterationError) {
        for (int i = 0; i < kMaxIterations; ++i) {
            std::vector<double> uPrime = Reparameterize(d, first, last, u, curve);
            curve = GenerateBezier(d, first, last, uPrime, tHat1, tHat2);
            maxError = ComputeMaxError(d, first, last, curve, uPrime, &splitPoint);
            if (maxError < error)
                return addCurve2(curve, index, out);
            u = std::move(uPrime);
        }
    }

    // Fit the two halves, the left one first so that segments come out in stroke order.
    Vector2 tHatCenter = ComputeCenterTangent(d, splitPoint);
    int next = FitCubicList2(d, first, splitPoint, tHat1, tHatCenter, error, index, out);
    V2Negate(&tHatCenter);
    return FitCubicList2(d, splitPoint, last, tHatCenter, tHat2, error, next, out);
}

std::vector<double> ChordLengthParameterize(const Point2* d, int first, int last) {
    const std::size_t count = std::size_t(last - first) + 1;
    std::vector<double> u(count);
    u[0] = 0.0;
    for (std::size_t k = 1; k < count; ++k)
        u[k] = u[k - 1] +
               V2DistanceBetween2Points(&d[std::size_t(first) + k], &d[std::size_t(first) + k - 1]);
    const double total = u[count - 1];
    if (total == 0.0)
        return u; // all zeros: nothing to divide
    for (std::size_t k = 1; k < count; ++k)
        u[k] = u[k] / total;
    return u;
}

BezierCurve GenerateBezier(const Point2* d, int first, int last, const std::vector<double>& u,
                           Vector2 tHat1, Vector2 tHat2) {
    const std::size_t count = std::size_t(last - first) + 1;
    const Point2& p0 = d[first];
    const Point2& p3 = d[last];
    double c00 = 0.0;
    double c01 = 0.0;
    double c11 = 0.0;
    double x0 = 0.0;
    double x1 = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double s = u[i];
        Vector2 a0 = tHat1;
        Vector2 a1 = tHat2;
        V2Scale(&a0, B1(s));
        V2Scale(&a1, B2(s));
        c00 += V2Dot(&a0, &a0);
        c01 += V2Dot(&a0, &a1);
        c11 += V2Dot(&a1, &a1);
        Point2 b0 = scaled(p0, B0(s));
        Point2 b1 = scaled(p0, B1(s));
        Point2 b2 = scaled(p3, B2(s));
        Point2 b3 = scaled(p3, B3(s));
        Point2 inner;
        Point2 middle;
        Point2 outer;
        V2Add(&b2, &b3, &inner);
        V2Add(&b1, &inner, &middle);
        V2Add(&b0, &middle, &outer);
        Vector2 tmp = subtract(d[std::size_t(first) + i], outer);
        x0 += V2Dot(&a0, &tmp);
        x1 += V2Dot(&a1, &tmp);
    }

    const double det = c00 * c11 - c01 * c01;
    const double detC0X = c00 * x1 - c01 * x0;
    const double detXC1 = x0 * c11 - x1 * c01;
    double alphaL = 0.0;
    double alphaR = 0.0;
    if (det != 0.0) {
        alphaL = detXC1 / det;
        alphaR = detC0X / det;
    }

    // A tiny or negative alpha would put an inner control point on (or behind) its end point:
    // fall back to a third of the chord.
    const double segLength = V2DistanceBetween2Points(&p3, &p0);
    const double epsilon = segLength * 1.0e-6;
    if (alphaL < epsilon || alphaR < epsilon) {
        double dist = segLength / 3.0;
        return curveAlongTangents(p0, p3, tHat1, tHat2, dist, dist);
    }
    return curveAlongTangents(p0, p3, tHat1, tHat2, alphaL, alphaR);
}

std::vector<double> Reparameterize(const Point2* d, int first, int last,
                                   const std::vector<double>& u, const BezierCurve& curve) {
    const std::size_t count = std::size_t(last - first) + 1;
    Point2 q1[3];
    Point2 q2[2];
    for (std::size_t j = 0; j < 3; ++j)
        q1[j] = scaled(subtract(curve[j + 1], curve[j]), 3.0);
    for (std::size_t j = 0; j < 2; ++j)
        q2[j] = scaled(subtract(q1[j + 1], q1[j]), 2.0);
    std::vector<double> uPrime(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double s = u[i];
        const Point2 q = BezierII(3, curve.data(), s);
        const Point2 qd1 = BezierII(2, q1, s);
        const Point2 qd2 = BezierII(1, q2, s);
        const Vector2 offset = subtract(q, d[std::size_t(first) + i]);
        const double numerator = V2Dot(&offset, &qd1);
        const double denominator = V2Dot(&qd1, &qd1) + V2Dot(&offset, &qd2);
        uPrime[i] = denominator == 0.0 ? s : s - numerator / denominator;
    }
    return uPrime;
}

Point2 BezierII(int degree, const Point2* V, double t) {
    if (degree < 0 || degree > 3)
        return {};
    Point2 vtemp[4];
    for (int i = 0; i <= degree; ++i)
        vtemp[i] = V[i];
    for (int i = 1; i <= degree; ++i) {
        for (int j = 0; j <= degree - i; ++j) {
            vtemp[j].x = (1.0 - t) * vtemp[j].x + t * vtemp[j + 1].x;
            vtemp[j].y = (1.0 - t) * vtemp[j].y + t * vtemp[j + 1].y;
        }
    }
    return vtemp[0];
}

double ComputeMaxError(const Point2* d, int first, int last, const BezierCurve& curve,
                       const std::vector<double>& u, int* splitPoint) {
    *splitPoint = first + (last - first + 1) / 2;
    double maxDist = 0.0;
    for (int i = first + 1; i < last; ++i) {
        Point2 p = BezierII(3, curve.data(), u[std::size_t(i - first)]);
        Vector2 v = subtract(p, d[i]);
        double dist = V2SquaredLength(&v);
        if (dist >= maxDist) {
            maxDist = dist;
            *splitPoint = i;
        }
    }
    return maxDist;
}

Vector2 ComputeLeftTangent(const Point2* d, int end) {
    Vector2 tHat = subtract(d[end + 1], d[end]);
    return *V2Normalize(&tHat);
}

Vector2 ComputeRightTangent(const Point2* d, int end) {
    Vector2 tHat = subtract(d[end - 1], d[end]);
    return *V2Normalize(&tHat);
}

Vector2 ComputeCenterTangent(const Point2* d, int center) {
    Vector2 v1 = subtract(d[center - 1], d[center]);
    Vector2 v2 = subtract(d[center], d[center + 1]);
    Vector2 sum;
    V2Add(&v1, &v2, &sum);
    Vector2 tHat = scaled(sum, 0.5);
    return *V2Normalize(&tHat);
}

} // namespace zorbel
