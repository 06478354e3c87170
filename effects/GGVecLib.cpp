#include "effects/GGVecLib.h"

#include <cmath>

namespace zorbel {

double V2SquaredLength(const Vector2* a) {
    return a->x * a->x + a->y * a->y;
}

double V2Length(const Vector2* a) {
    return std::sqrt(V2SquaredLength(a));
}

Vector2* V2Negate(Vector2* v) {
    v->x = -v->x;
    v->y = -v->y;
    return v;
}

Vector2* V2Add(const Vector2* a, const Vector2* b, Vector2* c) {
    c->x = a->x + b->x;
    c->y = a->y + b->y;
    return c;
}

double V2Dot(const Vector2* a, const Vector2* b) {
    return a->x * b->x + a->y * b->y;
}

double V2DistanceBetween2Points(const Point2* a, const Point2* b) {
    double dx = a->x - b->x;
    double dy = a->y - b->y;
    return std::sqrt(dx * dx + dy * dy);
}

Vector2* V2Normalize(Vector2* v) {
    double length = V2Length(v);
    if (length != 0.0) {
        v->x /= length;
        v->y /= length;
    }
    return v;
}

Vector2* V2Scale(Vector2* v, double newLength) {
    double length = V2Length(v);
    if (length != 0.0) {
        v->x *= newLength / length;
        v->y *= newLength / length;
    }
    return v;
}

} // namespace zorbel
