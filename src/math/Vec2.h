// Vec2f: a plain 2-D vector of 32-bit floats. Window and image positions have x to the right and y
// downwards.
#pragma once

#include <cmath>

namespace loom {

struct Vec2f {
    float x = 0.0f;
    float y = 0.0f;

    constexpr Vec2f() = default;
    constexpr Vec2f(float x_, float y_) : x(x_), y(y_) {}

    constexpr Vec2f operator+(const Vec2f& o) const { return {x + o.x, y + o.y}; }
    constexpr Vec2f operator-(const Vec2f& o) const { return {x - o.x, y - o.y}; }
    constexpr Vec2f operator-() const { return {-x, -y}; }
    constexpr Vec2f operator*(float s) const { return {x * s, y * s}; }
    constexpr Vec2f operator/(float s) const { return {x / s, y / s}; }
    Vec2f& operator+=(const Vec2f& o) {
        x += o.x;
        y += o.y;
        return *this;
    }
    Vec2f& operator-=(const Vec2f& o) {
        x -= o.x;
        y -= o.y;
        return *this;
    }
    Vec2f& operator*=(float s) {
        x *= s;
        y *= s;
        return *this;
    }
    constexpr bool operator==(const Vec2f& o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(const Vec2f& o) const { return !(*this == o); }

    constexpr float dot(const Vec2f& o) const { return x * o.x + y * o.y; }
    constexpr float lengthSquared() const { return x * x + y * y; }
    float length() const { return std::sqrt(lengthSquared()); }
    float distance(const Vec2f& o) const { return (*this - o).length(); }
    // Each component times 1 / length; a zero vector gives non-finite components.
    Vec2f normalized() const {
        float inv = 1.0f / length();
        return {x * inv, y * inv};
    }
};

inline constexpr Vec2f operator*(float s, const Vec2f& v) { return v * s; }

}  // namespace loom
