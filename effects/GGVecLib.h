#pragma once

// Two-dimensional vector helpers for the curve fitter, all in double precision. Vectors are
// passed by address; the ones that change a vector do it in place and return it.

namespace zorbel {

struct Point2 {
    double x = 0;
    double y = 0;

    friend bool operator==(const Point2&, const Point2&) = default;
};
using Vector2 = Point2;

double V2SquaredLength(const Vector2* a);
double V2Length(const Vector2* a);
Vector2* V2Negate(Vector2* v);
// c = a + b; returns c.
Vector2* V2Add(const Vector2* a, const Vector2* b, Vector2* c);
double V2Dot(const Vector2* a, const Vector2* b);
double V2DistanceBetween2Points(const Point2* a, const Point2* b);
// Divides v by its length; a zero vector stays as it is.
Vector2* V2Normalize(Vector2* v);
// Sets the length of v to newLength (multiplies it by newLength / length; a negative length
// reverses it); a zero vector stays as it is.
Vector2* V2Scale(Vector2* v, double newLength);

} // namespace zorbel
